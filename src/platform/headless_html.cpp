#include "platform/headless_html.h"

#include <gumbo.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/headless_scan.h"
#include "platform/headless_url.h"

namespace platform {

namespace {

// Pages up to this size get a document tree; the tree builder takes about 130 ms a megabyte
// (40 ms for a search site's result page of 300 KiB, ten times the scan and twenty times the
// transfer), so larger pages are scanned tag by tag instead.
constexpr size_t kTreeParseLimit = size_t { 128 } * 1024;
// Elements visited for one link's text at most.
constexpr size_t kMaxLinkTextNodes = 10000;
// Nesting deeper than this is not parsed: the tree builder's scope checks walk the stack of
// open elements, so a page of endless unclosed blocks would keep it busy for hours.
// Browsers flatten documents deeper than a few hundred levels anyway.
constexpr int kMaxNesting = 2048;

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Elements that never hold others, or that the next one of their kind closes: they do not
// make a page deeper however many of them stay unclosed.
bool flatElement(std::string_view name)
{
    static const char* const names[] = { "area", "base", "br", "col", "embed", "hr", "img", "input", "link",
        "meta", "param", "source", "track", "wbr", "p", "li", "dt", "dd", "option", "optgroup", "tr", "td",
        "th", "thead", "tbody", "tfoot", "a", "rb", "rt", "rp", "colgroup", "caption" };
    for (const char* n : names) {
        if (name == n)
            return true;
    }
    return false;
}

// Elements whose content is text up to their own end tag.
bool rawTextElement(std::string_view name)
{
    return name == "script" || name == "style" || name == "textarea" || name == "title" || name == "xmp";
}

// The end of the tag name that starts at nameStart: letters, then letters and digits, at most
// 16 of them.
size_t tagNameEnd(std::string_view html, size_t nameStart)
{
    size_t nameEnd = nameStart;
    while (nameEnd < html.size() && nameEnd - nameStart < 16
        && (isAlpha(html[nameEnd]) || (nameEnd > nameStart && html[nameEnd] >= '0' && html[nameEnd] <= '9')))
        ++nameEnd;
    return nameEnd;
}

std::string lowerName(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

// Where the content of a raw-text element that starts at i ends: after its end tag. Markup
// inside a script is text; the element's end tag closes nothing counted.
size_t rawTextEnd(std::string_view html, size_t i, const std::string& name)
{
    const size_t end = html.find("</" + name, i);
    const size_t endClose = end == std::string_view::npos ? end : html.find('>', end);
    return endClose == std::string_view::npos ? html.size() : endClose + 1;
}

// Where the page first nests deeper than kMaxNesting, counting start tags against end tags
// (an over-estimate: it ignores the parser's implied end tags), or npos.
size_t nestingCutoff(std::string_view html)
{
    int depth = 0;
    size_t i = 0;
    while ((i = html.find('<', i)) != std::string_view::npos) {
        const size_t tagStart = i;
        if (html.compare(i, 4, "<!--") == 0) {
            const size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const bool endTag = i + 1 < html.size() && html[i + 1] == '/';
        const size_t nameStart = i + (endTag ? 2 : 1);
        const size_t nameEnd = tagNameEnd(html, nameStart);
        if (nameEnd == nameStart) {
            i = nameStart;
            continue;
        }
        const std::string name = lowerName(html.substr(nameStart, nameEnd - nameStart));
        const size_t close = html.find('>', nameEnd);
        i = close == std::string_view::npos ? html.size() : close + 1;
        if (endTag) {
            depth = depth > 0 ? depth - 1 : 0;
            continue;
        }
        if (rawTextElement(name)) {
            i = rawTextEnd(html, i, name);
            continue;
        }
        const bool selfClosing = close != std::string_view::npos && close > nameEnd && html[close - 1] == '/';
        if (!selfClosing && !flatElement(name) && ++depth > kMaxNesting)
            return tagStart;
    }
    return std::string_view::npos;
}

const char* attribute(const GumboElement& e, const char* name)
{
    const GumboAttribute* a = gumbo_get_attribute(&e.attributes, name);
    return a ? a->value : nullptr;
}

// The text of an element's descendants, runs of white space collapsed to one blank.
std::string textContent(const GumboNode* element)
{
    std::string out;
    std::vector<const GumboNode*> stack { element };
    bool pendingSpace = false;
    size_t visited = 0;
    while (!stack.empty() && out.size() < kMaxLinkText && ++visited < kMaxLinkTextNodes) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (n->type == GUMBO_NODE_ELEMENT) {
            const GumboVector& children = n->v.element.children;
            for (unsigned i = children.length; i-- > 0;)
                stack.push_back(static_cast<const GumboNode*>(children.data[i]));
        } else if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE
            || n->type == GUMBO_NODE_CDATA) {
            appendLinkText(out, pendingSpace, n->v.text.text);
        }
    }
    return out;
}

// Adds the element of the tree the windows read (an anchor, an area with an address, an
// image, the first base with an address and the first body) to the page.
void addElement(PageElements& page, bool& bodySeen, const GumboNode* n)
{
    const GumboElement& e = n->v.element;
    const char* href = attribute(e, "href");
    if (e.tag == GUMBO_TAG_A || (e.tag == GUMBO_TAG_AREA && href)) {
        const char* target = attribute(e, "target");
        page.elements.push_back(
            { e.tag == GUMBO_TAG_A ? PageElement::Anchor : PageElement::Area, href != nullptr,
                href ? href : "", e.tag == GUMBO_TAG_A ? textContent(n) : "", target ? target : "" });
    } else if (e.tag == GUMBO_TAG_IMG) {
        const char* src = attribute(e, "src");
        page.elements.push_back({ PageElement::Image, src != nullptr, src ? src : "", "", "" });
    } else if (e.tag == GUMBO_TAG_BASE && href && !page.hasBase) {
        page.hasBase = true;
        page.base = href;
    } else if (e.tag == GUMBO_TAG_BODY && !bodySeen) {
        bodySeen = true;
        const char* scroll = attribute(e, "scroll");
        page.bodyScroll = scroll ? scroll : "";
    }
}

// The elements of the document tree the tree builder makes of the page.
PageElements treeElements(std::string_view html)
{
    PageElements page;
    GumboOptions options = kGumboDefaultOptions;
    // Parse errors are of no interest; recording them costs time and memory.
    options.max_errors = 0;
    const size_t cutoff = nestingCutoff(html);
    GumboOutput* output = gumbo_parse_with_options(&options, html.data(), std::min(cutoff, html.size()));
    if (!output)
        return page;
    bool bodySeen = false;
    std::vector<const GumboNode*> stack { output->document };
    while (!stack.empty()) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT)
            continue;
        const GumboVector& children
            = n->type == GUMBO_NODE_DOCUMENT ? n->v.document.children : n->v.element.children;
        for (unsigned i = children.length; i-- > 0;)
            stack.push_back(static_cast<const GumboNode*>(children.data[i]));
        if (n->type != GUMBO_NODE_ELEMENT || n->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
            continue;
        addElement(page, bodySeen, n);
    }
    gumbo_destroy_output(&options, output);
    return page;
}

} // namespace

PageContent parsePage(std::string html, const std::string& location, PageParser parser)
{
    const bool tree
        = parser == PageParser::Tree || (parser == PageParser::Automatic && html.size() <= kTreeParseLimit);
    PageElements found = tree ? treeElements(html) : scanElements(html);
    PageContent page;
    page.html = std::move(html);
    page.bodyScroll = std::move(found.bodyScroll);
    // The base element applies to the whole document, also to links written before it.
    const AddressResolver resolver(found.hasBase ? resolveAddress(location, found.base) : location);
    for (PageElement& f : found.elements) {
        runtime::BrowserLink link { f.hasAddress ? resolver.resolve(f.address) : std::string(),
            std::move(f.text) };
        if (f.kind != PageElement::Area)
            page.linksAndImages.push_back(link);
        if (f.kind == PageElement::Image) {
            page.images.push_back(std::move(link));
        } else if (f.hasAddress) {
            page.links.push_back(std::move(link));
            page.linkTargets.push_back(std::move(f.target));
        }
    }
    return page;
}

} // namespace platform
