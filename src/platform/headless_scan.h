#pragma once
// The elements of a page the headless browser collects, and a scan that finds them without
// building a document tree, for pages too large for the tree builder to parse in time.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An A, AREA or IMG element as the page writes it (character references decoded), before
// its address is resolved.
struct PageElement {
    enum Kind { Anchor, Area, Image };
    Kind kind = Anchor;
    bool hasAddress = false;
    std::string address;
    std::string text;
    std::string target;
};

// What a page holds for the windows, in document order.
struct PageElements {
    std::vector<PageElement> elements;
    // The href of the first base element that has one.
    bool hasBase = false;
    std::string base;
    // The first body element's scroll attribute.
    std::string bodyScroll;
};

// Longest link text kept; anchors that wrap whole page sections would otherwise be huge.
constexpr size_t kMaxLinkText = 1024;

// Appends text to a link's text with runs of white space collapsed to one blank and no
// leading blank; pendingSpace carries a run across calls. Stops at kMaxLinkText.
void appendLinkText(std::string& out, bool& pendingSpace, std::string_view text);
// Scans HTML tag by tag: comments and the text of script, style, textarea, title and xmp
// are skipped, an anchor ends at its end tag or at the next anchor.
PageElements scanElements(std::string_view html);

} // namespace platform
