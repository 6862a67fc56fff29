#include "platform/headless_scan.h"

#include <algorithm>
#include <cstdint>

#include "runtime/vbtext.h"

namespace platform {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Character references to nothing, to surrogates or beyond Unicode read as U+FFFD.
void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    vb::appendUtf8(out, cp);
}

// Decodes the character reference at s[i] ('&'); returns the bytes consumed, 0 when there is
// none (the '&' then stands for itself). Numeric references and the named ones that occur in
// addresses and link texts are known.
size_t decodeReference(std::string_view s, size_t i, std::string& out)
{
    size_t j = i + 1;
    if (j < s.size() && s[j] == '#') {
        const bool hex = j + 1 < s.size() && (s[j + 1] == 'x' || s[j + 1] == 'X');
        j += hex ? 2 : 1;
        uint32_t cp = 0;
        const size_t digits = j;
        while (j < s.size() && j - digits < 8) {
            const char c = s[j];
            const int d = c >= '0' && c <= '9' ? c - '0'
                : hex && c >= 'a' && c <= 'f'  ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F'  ? c - 'A' + 10
                                               : -1;
            if (d < 0)
                break;
            cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
            ++j;
        }
        if (j == digits)
            return 0;
        if (j < s.size() && s[j] == ';')
            ++j;
        appendUtf8(out, cp);
        return j - i;
    }
    static const struct {
        std::string_view name;
        uint32_t cp;
    } names[] = { { "amp;", '&' }, { "lt;", '<' }, { "gt;", '>' }, { "quot;", '"' }, { "apos;", '\'' },
        { "nbsp;", 0xA0 } };
    for (const auto& n : names) {
        if (s.substr(j, n.name.size()) == n.name) {
            appendUtf8(out, n.cp);
            return n.name.size() + 1;
        }
    }
    return 0;
}

std::string decoded(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const size_t used = s[i] == '&' ? decodeReference(s, i, out) : 0;
        if (used == 0)
            out += s[i];
        else
            i += used - 1;
    }
    return out;
}

// One tag: its lower-case name and the attributes the windows read.
struct Tag {
    std::string name;
    bool end = false;
    bool hasHref = false;
    std::string href;
    bool hasTarget = false;
    std::string target;
    bool hasSrc = false;
    std::string src;
    bool hasScroll = false;
    std::string scroll;
};

// Reads the tag at s[i] ('<' followed by a letter, or "</" and a letter) up to its '>';
// returns the position after it. Only the first of repeated attributes counts, as in the
// tree builder.
size_t readTag(std::string_view s, size_t i, Tag& tag)
{
    tag.end = s[i + 1] == '/';
    i += tag.end ? 2 : 1;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '/' && s[i] != '>')
        tag.name += lower(s[i++]);
    for (;;) {
        while (i < s.size() && (isSpace(s[i]) || s[i] == '/'))
            ++i;
        if (i >= s.size())
            return s.size();
        if (s[i] == '>')
            return i + 1;
        const size_t nameStart = i;
        while (
            i < s.size() && !isSpace(s[i]) && s[i] != '/' && s[i] != '>' && (s[i] != '=' || i == nameStart))
            ++i;
        std::string name;
        for (size_t k = nameStart; k < i; ++k)
            name += lower(s[k]);
        while (i < s.size() && isSpace(s[i]))
            ++i;
        std::string_view value;
        bool hasValue = false;
        if (i < s.size() && s[i] == '=') {
            hasValue = true;
            ++i;
            while (i < s.size() && isSpace(s[i]))
                ++i;
            if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
                const char quote = s[i++];
                const size_t end = std::min(s.find(quote, i), s.size());
                value = s.substr(i, end - i);
                i = end + 1;
            } else {
                const size_t start = i;
                while (i < s.size() && !isSpace(s[i]) && s[i] != '>')
                    ++i;
                value = s.substr(start, i - start);
            }
        }
        auto take = [&](bool& has, std::string& into) {
            if (!has) {
                has = true;
                into = hasValue ? decoded(value) : std::string();
            }
        };
        if (name == "href")
            take(tag.hasHref, tag.href);
        else if (name == "src")
            take(tag.hasSrc, tag.src);
        else if (name == "scroll")
            take(tag.hasScroll, tag.scroll);
        else if (name == "target")
            take(tag.hasTarget, tag.target);
    }
}

bool rawText(const std::string& name)
{
    return name == "script" || name == "style" || name == "textarea" || name == "title" || name == "xmp";
}

// The position of the end tag "</name" (any case) at or after i, or the end of s.
size_t findEndTag(std::string_view s, size_t i, const std::string& name)
{
    while ((i = s.find("</", i)) != std::string_view::npos) {
        size_t k = 0;
        while (k < name.size() && i + 2 + k < s.size() && lower(s[i + 2 + k]) == name[k])
            ++k;
        if (k == name.size())
            return i;
        i += 2;
    }
    return s.size();
}

} // namespace

void appendLinkText(std::string& out, bool& pendingSpace, std::string_view text)
{
    for (char c : text) {
        if (out.size() >= kMaxLinkText)
            return;
        if (isSpace(c)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace)
            out += ' ';
        pendingSpace = false;
        out += c;
    }
}

PageElements scanElements(std::string_view html)
{
    PageElements page;
    bool bodySeen = false;
    long anchor = -1; // the open anchor's index in page.elements
    bool pendingSpace = false;
    size_t i = 0;
    while (i < html.size()) {
        const size_t lt = std::min(html.find('<', i), html.size());
        if (anchor >= 0 && lt > i)
            appendLinkText(page.elements[static_cast<size_t>(anchor)].text, pendingSpace,
                decoded(html.substr(i, lt - i)));
        if (lt >= html.size())
            break;
        i = lt;
        if (html.compare(i, 4, "<!--") == 0) {
            i = std::min(html.find("-->", i + 4), html.size()) + 3;
            continue;
        }
        const size_t nameAt = i + (i + 1 < html.size() && html[i + 1] == '/' ? 2 : 1);
        if (nameAt >= html.size() || !isAlpha(html[nameAt])) {
            const bool declaration
                = nameAt < html.size() && (html[i + 1] == '!' || html[i + 1] == '?' || html[i + 1] == '/');
            if (declaration) {
                i = std::min(html.find('>', i), html.size()) + 1;
            } else {
                if (anchor >= 0)
                    appendLinkText(page.elements[static_cast<size_t>(anchor)].text, pendingSpace, "<");
                i = lt + 1;
            }
            continue;
        }
        Tag tag;
        i = readTag(html, i, tag);
        if (tag.end) {
            if (tag.name == "a")
                anchor = -1;
            continue;
        }
        if (tag.name == "a") {
            page.elements.push_back({ PageElement::Anchor, tag.hasHref, tag.href, "", tag.target });
            anchor = static_cast<long>(page.elements.size()) - 1;
            pendingSpace = false;
        } else if (tag.name == "img") {
            page.elements.push_back({ PageElement::Image, tag.hasSrc, tag.src, "", "" });
        } else if (tag.name == "area" && tag.hasHref) {
            page.elements.push_back({ PageElement::Area, true, tag.href, "", tag.target });
        } else if (tag.name == "base" && tag.hasHref && !page.hasBase) {
            page.hasBase = true;
            page.base = tag.href;
        } else if (tag.name == "body" && !bodySeen) {
            bodySeen = true;
            page.bodyScroll = tag.scroll;
        } else if (rawText(tag.name)) {
            i = findEndTag(html, i, tag.name);
        }
    }
    return page;
}

} // namespace platform
