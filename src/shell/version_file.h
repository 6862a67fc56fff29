#pragma once
// The version file the update check downloads: its last line is the published build number.
#include <string>

namespace shell {

// A version file holds a build number; anything much larger is not one.
inline constexpr long long kVersionFileBytes = 64 * 1024;

// The build number the version file at path publishes, or an empty text when the file cannot
// be read as one.
std::string publishedBuild(const std::string& path, const std::string& codePage);

} // namespace shell
