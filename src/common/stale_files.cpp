#include "common/stale_files.h"

#include <algorithm>
#include <vector>

#include "common/data_folders.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace common {

namespace {

constexpr const char* kDownloadFolder = "Zelvora下载区";
// The folders outside the program's own where it has written temporary files, one a line.
constexpr const char* kPlacesFile = "temporary_places.txt";
// More than this is no list of ours.
constexpr size_t kMaxPlacesBytes = size_t { 64 } * 1024;

std::vector<std::string> notedFolders(const std::string& file)
{
    std::vector<std::string> folders;
    const auto read = platform::readFile(file, kMaxPlacesBytes);
    if (!read)
        return folders;
    const std::string& text = *read;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.front() == platform::kSeparator)
            folders.push_back(std::move(line));
        start = end + 1;
    }
    return folders;
}

} // namespace

int removeStaleTemporaries(const runtime::App& app)
{
    const DataPaths paths = dataPaths(app);
    int removed = 0;
    for (const std::string& folder : { paths.temp, paths.skin, paths.root }) {
        if (!platform::folderExists(folder))
            continue;
        platform::completeCommitsIn(folder);
        removed += platform::removeStaleTemporaries(folder, platform::isTemporaryName);
    }
    // The user's own files live beside the downloads: only partial downloads are touched.
    const std::string desktop = app.service<platform::Environment>().desktopFolder();
    const std::string downloads = platform::joinPath(desktop, kDownloadFolder);
    if (!desktop.empty() && platform::folderExists(downloads))
        removed += platform::removeStaleTemporaries(downloads, platform::isProgramTemporaryName);
    const std::string places = paths.temp + kPlacesFile;
    for (const std::string& folder : notedFolders(places)) {
        if (platform::folderExists(folder))
            removed += platform::removeStaleTemporaries(folder, platform::isProgramTemporaryName);
    }
    if (platform::fileExists(places))
        std::ignore = platform::deleteFile(places); // left, it is only read again next time
    return removed;
}

void noteTemporaryFolder(const runtime::App& app, const std::string& folder)
{
    const std::string places = dataPaths(app).temp + kPlacesFile;
    std::vector<std::string> folders = notedFolders(places);
    if (folder.empty() || folder.front() != platform::kSeparator || folder.find('\n') != std::string::npos
        || std::find(folders.begin(), folders.end(), folder) != folders.end())
        return;
    std::string text;
    for (const std::string& noted : folders)
        text += noted + "\n";
    EnsureTempFolder(app);
    // Not noted, a temporary there outlives a killed run; the export itself goes on.
    std::ignore = platform::writeFileAtomic(places, text + folder + "\n");
}

} // namespace common
