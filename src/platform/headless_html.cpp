#include "platform/headless_html.h"

#include <gumbo.h>

#include <utility>

#include "platform/codec.h"
#include "platform/headless_url.h"

namespace platform {

namespace {

// How far into a page a meta charset declaration is looked for.
constexpr size_t kPrescanBytes = 8192;
// Longest link text kept; anchors that wrap whole page sections would otherwise be huge.
constexpr size_t kMaxLinkText = 1024;

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool startsWithNoCase(std::string_view s, size_t at, std::string_view prefix)
{
    if (at > s.size() || s.size() - at < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (lower(s[at + i]) != prefix[i])
            return false;
    }
    return true;
}

std::string lowered(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = lower(c);
    return out;
}

// The value after "charset=" in a Content-Type text, or an empty text.
std::string charsetParameter(std::string_view text)
{
    const std::string low = lowered(text);
    size_t at = low.find("charset");
    if (at == std::string::npos)
        return {};
    at += 7;
    while (at < low.size() && isSpace(low[at]))
        ++at;
    if (at >= low.size() || low[at] != '=')
        return {};
    ++at;
    while (at < low.size() && isSpace(low[at]))
        ++at;
    if (at < low.size() && (low[at] == '"' || low[at] == '\''))
        ++at;
    size_t end = at;
    while (end < low.size() && !isSpace(low[end]) && low[end] != ';' && low[end] != '"' && low[end] != '\'')
        ++end;
    return std::string(text.substr(at, end - at));
}

// Reads one attribute at s[i] of a tag; false at the end of the tag (i then points past '>').
bool nextAttribute(std::string_view s, size_t& i, std::string& name, std::string& value)
{
    while (i < s.size() && (isSpace(s[i]) || s[i] == '/'))
        ++i;
    if (i >= s.size() || s[i] == '>') {
        ++i;
        return false;
    }
    const size_t nameStart = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '/' && s[i] != '>' && s[i] != '=')
        ++i;
    name = lowered(s.substr(nameStart, i - nameStart));
    value.clear();
    while (i < s.size() && isSpace(s[i]))
        ++i;
    if (i >= s.size() || s[i] != '=')
        return true;
    ++i;
    while (i < s.size() && isSpace(s[i]))
        ++i;
    if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
        const char quote = s[i++];
        const size_t end = s.find(quote, i);
        value = s.substr(i, (end == std::string_view::npos ? s.size() : end) - i);
        i = end == std::string_view::npos ? s.size() : end + 1;
        return true;
    }
    const size_t valueStart = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '>')
        ++i;
    value = s.substr(valueStart, i - valueStart);
    return true;
}

// The charset a meta element near the top of the page declares, or an empty text.
std::string metaCharset(std::string_view bytes)
{
    const std::string_view s = bytes.substr(0, kPrescanBytes);
    size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, 4, "<!--") == 0) {
            const size_t end = s.find("-->", i + 4);
            if (end == std::string_view::npos)
                return {};
            i = end + 3;
            continue;
        }
        if (s[i] != '<' || i + 1 >= s.size()) {
            ++i;
            continue;
        }
        const char next = s[i + 1];
        const bool endTag = next == '/' && i + 2 < s.size() && isAlpha(s[i + 2]);
        if (!isAlpha(next) && !endTag) {
            // "<!doctype", "<?xml", "</ " and a stray '<' in text.
            const size_t end = (next == '!' || next == '?' || next == '/') ? s.find('>', i) : i;
            if (end == std::string_view::npos)
                return {};
            i = end + 1;
            continue;
        }
        const bool meta = startsWithNoCase(s, i, "<meta") && i + 5 < s.size() && (isSpace(s[i + 5]) || s[i + 5] == '/');
        i += 1;
        std::string name;
        std::string value;
        std::string charset;
        std::string httpEquiv;
        std::string content;
        // Every tag's attributes are skipped whole, so a '>' inside a quoted value of another
        // tag does not end it.
        while (nextAttribute(s, i, name, value)) {
            if (!meta)
                continue;
            if (name == "charset" && charset.empty())
                charset = value;
            else if (name == "http-equiv")
                httpEquiv = lowered(value);
            else if (name == "content")
                content = value;
        }
        if (!meta)
            continue;
        if (charset.empty() && httpEquiv == "content-type")
            charset = charsetParameter(content);
        if (!charset.empty() && charsetKnown(charset))
            return charset;
    }
    return {};
}

std::string knownOr(const std::string& charset, const std::string& otherwise)
{
    return !charset.empty() && charsetKnown(charset) ? charset : otherwise;
}

}  // namespace

std::string pageCharset(std::string_view bytes, const std::string& contentType, const std::string& fallback)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return "UTF-8";
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return "UTF-16LE";
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return "UTF-16BE";
    const std::string header = knownOr(charsetParameter(contentType), "");
    if (!header.empty())
        return header;
    const std::string meta = metaCharset(bytes);
    // A page read as ASCII text cannot be UTF-16: such a declaration was written before a
    // tool converted the page, so browsers read it as UTF-8.
    if (lowered(meta).rfind("utf-16", 0) == 0)
        return "UTF-8";
    return knownOr(meta, knownOr(fallback, "UTF-8"));
}

std::string decodePage(std::string_view bytes, const std::string& contentType, const std::string& fallback)
{
    const std::string charset = pageCharset(bytes, contentType, fallback);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
        bytes.remove_prefix(2);
    return decode(bytes, charset);
}

namespace {

const char* attribute(const GumboElement& e, const char* name)
{
    const GumboAttribute* a = gumbo_get_attribute(&e.attributes, name);
    return a ? a->value : nullptr;
}

// The text of an element's descendants, runs of white space collapsed to one blank.
std::string textContent(const GumboNode* element)
{
    std::string out;
    std::vector<const GumboNode*> stack {element};
    bool pendingSpace = false;
    while (!stack.empty() && out.size() < kMaxLinkText) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (n->type == GUMBO_NODE_ELEMENT) {
            const GumboVector& children = n->v.element.children;
            for (unsigned i = children.length; i-- > 0;)
                stack.push_back(static_cast<const GumboNode*>(children.data[i]));
            continue;
        }
        if (n->type != GUMBO_NODE_TEXT && n->type != GUMBO_NODE_WHITESPACE && n->type != GUMBO_NODE_CDATA)
            continue;
        for (const char* p = n->v.text.text; *p; ++p) {
            if (isSpace(*p)) {
                pendingSpace = !out.empty();
                continue;
            }
            if (pendingSpace)
                out += ' ';
            pendingSpace = false;
            out += *p;
        }
    }
    return out;
}

// An element met while walking the tree, before addresses are resolved.
struct Found {
    enum Kind { Anchor, Area, Image } kind;
    bool hasAddress;
    std::string address;
    std::string text;
    std::string target;
};

}  // namespace

PageContent parsePage(std::string html, const std::string& location)
{
    PageContent page;
    GumboOptions options = kGumboDefaultOptions;
    // Parse errors are of no interest; recording them costs time and memory.
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
    page.html = std::move(html);
    if (!output)
        return page;

    std::vector<Found> found;
    std::string base;
    bool bodySeen = false;
    std::vector<const GumboNode*> stack {output->document};
    while (!stack.empty()) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT)
            continue;
        const GumboVector& children = n->type == GUMBO_NODE_DOCUMENT ? n->v.document.children : n->v.element.children;
        for (unsigned i = children.length; i-- > 0;)
            stack.push_back(static_cast<const GumboNode*>(children.data[i]));
        if (n->type != GUMBO_NODE_ELEMENT || n->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
            continue;
        const GumboElement& e = n->v.element;
        if (e.tag == GUMBO_TAG_A || e.tag == GUMBO_TAG_AREA) {
            const char* href = attribute(e, "href");
            if (e.tag == GUMBO_TAG_AREA && !href)
                continue;
            const char* target = attribute(e, "target");
            found.push_back({e.tag == GUMBO_TAG_A ? Found::Anchor : Found::Area, href != nullptr, href ? href : "",
                e.tag == GUMBO_TAG_A ? textContent(n) : "", target ? target : ""});
        } else if (e.tag == GUMBO_TAG_IMG) {
            const char* src = attribute(e, "src");
            found.push_back({Found::Image, src != nullptr, src ? src : "", "", ""});
        } else if (e.tag == GUMBO_TAG_BASE && base.empty()) {
            if (const char* href = attribute(e, "href"))
                base = resolveAddress(location, href);
        } else if (e.tag == GUMBO_TAG_BODY && !bodySeen) {
            bodySeen = true;
            if (const char* scroll = attribute(e, "scroll"))
                page.bodyScroll = scroll;
        }
    }
    gumbo_destroy_output(&options, output);

    // The base element applies to the whole document, also to links written before it.
    const std::string& against = base.empty() ? location : base;
    for (Found& f : found) {
        rt::BrowserLink link {f.hasAddress ? resolveAddress(against, f.address) : std::string(), std::move(f.text)};
        if (f.kind != Found::Area)
            page.linksAndImages.push_back(link);
        if (f.kind == Found::Image) {
            page.images.push_back(std::move(link));
        } else if (f.hasAddress) {
            page.links.push_back(std::move(link));
            page.linkTargets.push_back(std::move(f.target));
        }
    }
    return page;
}

}  // namespace platform
