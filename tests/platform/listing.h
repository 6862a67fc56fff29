#pragma once
// What the platform tests read back: the names in a folder (a failed write leaves no stray
// file behind) and the addresses of a page's links.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/engines.h"

namespace platform_testing {

inline std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::vector<std::string> hrefs(const std::vector<runtime::BrowserLink>& links)
{
    std::vector<std::string> out;
    for (const auto& l : links)
        out.push_back(l.href);
    return out;
}

} // namespace platform_testing
