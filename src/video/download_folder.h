#pragma once
// The desktop folder the videos are downloaded into, and the file names made from names.
#include <string>
#include <string_view>

namespace runtime {
class App;
}

namespace video {

// The folder on the desktop that holds the downloads.
inline constexpr const char* kDownloadFolderName = "Zelvora下载区";

// The desktop download folder's path.
std::string downloadFolder(const runtime::App& app);
// Creates the download folder when it is missing; false when it cannot be created.
bool ensureDownloadFolder(const runtime::App& app);
// A safe single file name made from a video name: separators, reserved and control
// characters replaced, no leading dots or trailing dots and blanks, at most 120
// characters, and a stand-in name when nothing is left.
std::string safeFileName(std::string_view name);

} // namespace video
