#include "common/stale_files.h"

#include "common/data_folders.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace common {

namespace {
constexpr const char* kDownloadFolder = "Zelvora下载区";
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
        removed += platform::removeStaleTemporaries(downloads, platform::isDownloadTemporaryName);
    return removed;
}

} // namespace common
