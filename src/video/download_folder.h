#pragma once
// The desktop folder the videos are downloaded into, and the file names made from names.
#include <string>
#include <string_view>
#include <vector>

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
// The name under which a new download writes its files (name + each ending) into the
// download folder: name itself when none of them is there, else name + " (2)", " (3)"...,
// the first whose files are all free, so a download never replaces a file it did not write.
std::string unusedName(
    const runtime::App& app, const std::string& name, const std::vector<std::string>& endings);

} // namespace video
