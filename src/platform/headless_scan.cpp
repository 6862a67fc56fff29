#include "platform/headless_scan.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

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

// Decodes the numeric character reference at s[i] ("&#"); returns the bytes consumed, 0 when
// no digit follows.
size_t decodeNumericReference(std::string_view s, size_t i, std::string& out)
{
    size_t j = i + 2;
    const bool hex = j < s.size() && (s[j] == 'x' || s[j] == 'X');
    j += hex ? 1 : 0;
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

// Decodes the character reference at s[i] ('&'); returns the bytes consumed, 0 when there is
// none (the '&' then stands for itself). Numeric references and the named ones that occur in
// addresses and link texts are known.
size_t decodeReference(std::string_view s, size_t i, std::string& out)
{
    if (i + 1 < s.size() && s[i + 1] == '#')
        return decodeNumericReference(s, i, out);
    static const struct {
        std::string_view name;
        uint32_t cp;
    } names[] = { { "amp;", '&' }, { "lt;", '<' }, { "gt;", '>' }, { "quot;", '"' }, { "apos;", '\'' },
        { "nbsp;", 0xA0 } };
    for (const auto& n : names) {
        if (s.substr(i + 1, n.name.size()) == n.name) {
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

// One attribute of a tag: its lower-case name, its value as written (none for a bare name),
// and the position after it.
struct Attribute {
    std::string name;
    std::optional<std::string_view> value;
    size_t end = 0;
};

size_t skipSpaces(std::string_view s, size_t i)
{
    while (i < s.size() && isSpace(s[i]))
        ++i;
    return i;
}

// The attribute value at s[i] (after "=" and blanks), quoted or not; sets end past it.
std::string_view readAttributeValue(std::string_view s, size_t i, size_t& end)
{
    if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
        const char quote = s[i++];
        const size_t close = std::min(s.find(quote, i), s.size());
        end = close + 1;
        return s.substr(i, close - i);
    }
    const size_t start = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '>')
        ++i;
    end = i;
    return s.substr(start, i - start);
}

// Reads the attribute whose name starts at s[i].
Attribute readAttribute(std::string_view s, size_t i)
{
    Attribute a;
    const size_t nameStart = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '/' && s[i] != '>' && (s[i] != '=' || i == nameStart))
        ++i;
    for (size_t k = nameStart; k < i; ++k)
        a.name += lower(s[k]);
    i = skipSpaces(s, i);
    if (i < s.size() && s[i] == '=')
        a.value = readAttributeValue(s, skipSpaces(s, i + 1), i);
    a.end = i;
    return a;
}

// Keeps the attributes the windows read; only the first of repeated attributes counts, as in
// the tree builder.
void keepAttribute(Tag& tag, const Attribute& a)
{
    auto take = [&a](bool& has, std::string& into) {
        if (!has) {
            has = true;
            into = a.value ? decoded(*a.value) : std::string();
        }
    };
    if (a.name == "href")
        take(tag.hasHref, tag.href);
    else if (a.name == "src")
        take(tag.hasSrc, tag.src);
    else if (a.name == "scroll")
        take(tag.hasScroll, tag.scroll);
    else if (a.name == "target")
        take(tag.hasTarget, tag.target);
}

// Reads the tag at s[i] ('<' followed by a letter, or "</" and a letter) up to its '>';
// returns the position after it.
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
        const Attribute a = readAttribute(s, i);
        keepAttribute(tag, a);
        i = a.end;
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

namespace {

// The scan of a page: the elements found so far and the anchor whose text is being read.
struct ElementScan {
    PageElements page;
    bool bodySeen = false;
    long anchor = -1; // the open anchor's index in page.elements
    bool pendingSpace = false;

    void addLinkText(std::string_view text)
    {
        appendLinkText(page.elements[static_cast<size_t>(anchor)].text, pendingSpace, text);
    }
    // Reads the markup at html[i] ('<'); returns where the scan goes on.
    size_t markupAt(std::string_view html, size_t i);
    // Takes in an opening tag read up to after; returns where the scan goes on (past the
    // content of an element whose content is raw text).
    size_t openTag(const Tag& tag, std::string_view html, size_t after);
};

size_t ElementScan::markupAt(std::string_view html, size_t i)
{
    if (html.compare(i, 4, "<!--") == 0)
        return std::min(html.find("-->", i + 4), html.size()) + 3;
    const size_t nameAt = i + (i + 1 < html.size() && html[i + 1] == '/' ? 2 : 1);
    if (nameAt >= html.size() || !isAlpha(html[nameAt])) {
        const bool declaration
            = nameAt < html.size() && (html[i + 1] == '!' || html[i + 1] == '?' || html[i + 1] == '/');
        if (declaration)
            return std::min(html.find('>', i), html.size()) + 1;
        // A '<' that starts no markup is text.
        if (anchor >= 0)
            addLinkText("<");
        return i + 1;
    }
    Tag tag;
    const size_t after = readTag(html, i, tag);
    if (!tag.end)
        return openTag(tag, html, after);
    if (tag.name == "a")
        anchor = -1;
    return after;
}

size_t ElementScan::openTag(const Tag& tag, std::string_view html, size_t after)
{
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
        return findEndTag(html, after, tag.name);
    }
    return after;
}

} // namespace

PageElements scanElements(std::string_view html)
{
    ElementScan scan;
    size_t i = 0;
    while (i < html.size()) {
        const size_t lt = std::min(html.find('<', i), html.size());
        if (scan.anchor >= 0 && lt > i)
            scan.addLinkText(decoded(html.substr(i, lt - i)));
        if (lt >= html.size())
            break;
        i = scan.markupAt(html, lt);
    }
    return std::move(scan.page);
}

} // namespace platform
