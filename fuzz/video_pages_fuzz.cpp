// Fuzz target: the parsing service's result page as the video download window reads it (the
// video name, the download address, the high-definition offer and the split-video sign), the
// link text the split-video downloader takes its segment addresses from, and the typed address
// as it travels in the service's query and lands in the preview page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/config.h"
#include "runtime/vbtext.h"
#include "video/resolve_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // A scraped name or address is cut to 500 characters, whatever the page holds.
    if (const auto title = video::scrapeTitle(text); title && vb::Len(*title) > 500)
        __builtin_trap();
    if (const auto address = video::scrapeAddress(text); address && vb::Len(*address) > 500)
        __builtin_trap();
    video::offersHighDefinition(text);
    video::splitVideoSign(text);

    size_t bytes = 0;
    for (const std::string& segment : video::segmentAddresses(text)) {
        if (vb::Len(segment) <= 120 || segment.find("\r\n") != std::string::npos)
            __builtin_trap();
        bytes += segment.size();
    }
    if (bytes > 3 * size)
        __builtin_trap();

    // The typed address cannot end the service's query or the request line early, or add a field.
    static const platform::Config config;
    const std::string query = video::parseServiceQuery(config, text, false);
    const std::string_view keyword = std::string_view(query).substr(query.find("&kw=") + 4);
    if (keyword.find_first_of("#& \"<>\r\n") != std::string_view::npos)
        __builtin_trap();
    // An address written into the preview page cannot leave its attribute: only the closing
    // the page adds after each address ends it.
    const std::string closer = "\" title='";
    const std::string page = video::previewPage("", text, "", "", "");
    if (page.size() < 2 * closer.size() || page.substr(page.size() - 2 * closer.size()) != closer + closer
        || page.substr(0, page.size() - 2 * closer.size()).find_first_of("\"<>") != std::string::npos)
        __builtin_trap();
    return 0;
}
