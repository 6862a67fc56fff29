// Fuzz target: the search worker's picking rules over the addresses of a result page. The
// first input byte picks the site; the rest are the page's addresses, one a line. Every site
// key's host is "http://s/<key>", so the fuzzer can reach every rule.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "video/search_rules.h"

namespace {

std::vector<std::string> lines(std::string_view text)
{
    std::vector<std::string> out;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        out.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return out;
}

bool picked(const std::vector<std::string>& addresses, const std::string& address)
{
    for (const std::string& a : addresses) {
        if (a == address)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const states[]
        = { "tudou", "sohu", "pptv", "letv", "fengx", "xinlang", "youku", "bdhd" };
    const std::vector<std::string> addresses
        = lines(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    const video::SiteRules* site = video::siteRules(states[data[0] & 7]);
    if (!site) {
        const auto rows = video::pickResources(addresses, "bdhd://", "百度影音：");
        // At most nine resources, each a page address that begins with the prefix.
        if (rows.size() > 9)
            __builtin_trap();
        for (const auto& [row, address] : rows) {
            if (address.rfind("bdhd://", 0) != 0 || !picked(addresses, address))
                __builtin_trap();
        }
        return 0;
    }
    const video::SitePicks picks = video::pickSite(*site, addresses,
        [](const char* key, const char* path) { return std::string("http://s/") + key + path; });
    // Every result leads to an address of the page; three rules keep at most ten candidates
    // each and show at most five normal rows and one picked row each.
    if (picks.candidates.size() > 30 || picks.rows.size() > 18)
        __builtin_trap();
    for (const auto& [row, address] : picks.rows) {
        if (row.empty() || !picked(addresses, address))
            __builtin_trap();
    }
    return 0;
}
