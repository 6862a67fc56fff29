#pragma once
// Reading a web page as the headless browser does: the parts of the document the windows
// look at.
#include <string>
#include <vector>

#include "runtime/engines.h"

namespace platform {

// What the windows read from a loaded document. Addresses are absolute.
struct PageContent {
    // The document as UTF-8 HTML text.
    std::string html;
    // A elements with an href and AREA elements, in document order (the document's links).
    std::vector<runtime::BrowserLink> links;
    // The target attribute of each link, in the same order.
    std::vector<std::string> linkTargets;
    // IMG elements in document order; the address is the image's (its src).
    std::vector<runtime::BrowserLink> images;
    // Every A and IMG element in document order: an anchor gives its href (empty without
    // one), an image its image address.
    std::vector<runtime::BrowserLink> linksAndImages;
    // The body element's scroll attribute.
    std::string bodyScroll;
};

// How a page is read: a document tree (exact, as browsers build it) or a scan tag by tag
// (fast; it does not apply the tree builder's repairs of broken markup).
enum class PageParser { Automatic, Tree, Scan };

// Parses UTF-8 HTML (any input is accepted) and collects the links, images and body scroll
// attribute; relative addresses are resolved against the document's base element, else
// against location. Automatic builds a tree for pages up to 128 KiB and scans larger ones.
PageContent parsePage(
    std::string html, const std::string& location, PageParser parser = PageParser::Automatic);

} // namespace platform
