#pragma once
// Reading a web page as the headless browser does: its character set, and the parts of the
// document the windows look at.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/engines.h"

namespace platform {

// What the windows read from a loaded document. Addresses are absolute.
struct PageContent {
    // The document as UTF-8 HTML text.
    std::string html;
    // A elements with an href and AREA elements, in document order (the document's links).
    std::vector<rt::BrowserLink> links;
    // The target attribute of each link, in the same order.
    std::vector<std::string> linkTargets;
    // IMG elements in document order; the address is the image's (its src).
    std::vector<rt::BrowserLink> images;
    // Every A and IMG element in document order: an anchor gives its href (empty without
    // one), an image its image address.
    std::vector<rt::BrowserLink> linksAndImages;
    // The body element's scroll attribute.
    std::string bodyScroll;
};

// The character set a page is read in: a byte order mark, else the charset of the
// Content-Type header, else a meta declaration near the top of the page, else fallback.
// Names the codec does not know are passed over.
std::string pageCharset(std::string_view bytes, const std::string& contentType, const std::string& fallback);
// The page bytes as UTF-8 text in the character set pageCharset chooses (a byte order mark
// dropped). Invalid bytes become U+FFFD.
std::string decodePage(std::string_view bytes, const std::string& contentType, const std::string& fallback);
// Parses UTF-8 HTML (any input is accepted) and collects the links, images and body scroll
// attribute; relative addresses are resolved against the document's base element, else
// against location.
PageContent parsePage(std::string html, const std::string& location);

}  // namespace platform
