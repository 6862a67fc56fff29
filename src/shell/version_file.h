#pragma once
// The version file the update check downloads: its last line is the published build number.
#include <string>

namespace shell {

// A version file holds a build number; anything much larger is not one.
inline constexpr long long kVersionFileBytes = 64LL * 1024;

// The build number the version file at path publishes, or an empty text when the file cannot
// be read as one.
std::string publishedBuild(const std::string& path, const std::string& codePage);

// Whether the published build is newer than the local one: as numbers when both are whole
// decimal numbers, otherwise as text.
bool newerBuild(const std::string& published, const std::string& local);

} // namespace shell
