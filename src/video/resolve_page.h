#pragma once
// The pure parts of resolving a video page address: the accepted address forms, the
// supported-site table, the parsing service's query, the scraping of its result page, the
// split-video sign and the preview page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Config;
}

namespace video {

// Characters of the scheme an address box accepts ("http://" 7, "https://" 8), or 0. The
// scheme is compared exactly: upper-case schemes are refused.
int schemeLength(std::string_view address);

// The supported sites are the configuration keys site.1 ... site.18, in table order, each
// holding the site's host.
inline constexpr int kSupportedSites = 18;
// The 9-character prefix a page address of a site with this host starts with after its scheme
// (a shorter host is followed by the "/" of the path).
std::string hostPrefix(const std::string& host);
// Whether the 9 characters after the scheme of address equal one site's prefix.
bool siteSupported(const platform::Config& config, std::string_view address);
// A site's home page address, with an optional path.
std::string siteHomePage(const platform::Config& config, const char* key, const char* path = "/");

// The parsing service's result page for a page address (normal, or high definition).
std::string parseServiceQuery(const platform::Config& config, std::string_view address, bool highDefinition);

// What the result page gives: the video name, and the address text of a page.
std::optional<std::string> scrapeTitle(std::string_view page);
std::optional<std::string> scrapeAddress(std::string_view page);
// Whether the result page offers a high-definition version.
bool offersHighDefinition(std::string_view page);

// Whether a text carries the sign of a split video: a character whose code in code page 936,
// written in hexadecimal without leading zeros, begins with B to F.
bool splitVideoSign(std::string_view text);

// The segment addresses among the lines (ended by CR LF) of a split video's link text: every
// trimmed line longer than 120 characters, in order.
std::vector<std::string> segmentAddresses(std::string_view links);

// The fixed pieces of the preview page (1 to 3).
std::string previewPiece(int number);
// The preview page: the pieces with the two addresses between them.
std::string previewPage(std::string_view piece1, std::string_view highDefinition, std::string_view piece2,
    std::string_view normal, std::string_view piece3);
// The usage notes of the window, one line each.
std::string usageNotes();

} // namespace video
