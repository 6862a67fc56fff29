#pragma once
// Getting one page for the headless browser: from the web, from a local file, or nothing.
#include <functional>
#include <string>

#include "platform/headless_html.h"

namespace platform {

class Network;

// A finished load: the document and the address it came from (after redirects).
struct LoadedPage {
    PageContent page;
    std::string location;
};

// Whether an address is a local absolute path.
bool isLocalPath(const std::string& address);
// The address the relative links of a document at location resolve against (a local path
// becomes a file address).
std::string resolutionBase(const std::string& location);
// Fetches (web addresses), reads (file addresses, local paths of HTML files) and parses a
// page; runs on a worker thread and gives up when keepGoing says so. A page that cannot be
// had is an empty document at the requested address; other local files (pictures, text)
// show an empty document too.
LoadedPage loadPage(Network* network, const std::string& defaultCharset, const std::string& url,
    const std::function<bool()>& keepGoing);

} // namespace platform
