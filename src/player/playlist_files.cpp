#include "player/playlist_files.h"

#include <algorithm>

#include "common/data_folders.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace player {

PlaylistFiles playlistFiles(const runtime::App& app, Playlist list)
{
    const std::string temp = common::dataPaths(app).temp;
    if (list == Playlist::Music)
        return { temp + "mpath.ini", temp + "mname.ini" };
    return { temp + "vpath.ini", temp + "vname.ini" };
}

void ensurePlaylistFiles(const runtime::App& app, Playlist list)
{
    common::EnsureTempFolder(app);
    const PlaylistFiles files = playlistFiles(app, list);
    for (const std::string* file : { &files.paths, &files.names }) {
        if (!platform::fileExists(*file))
            platform::writeFileAtomic(*file, {});
    }
}

std::vector<std::string> readPlaylistFile(const runtime::App& app, const std::string& file)
{
    return platform::readLines(file, common::codePage(app));
}

platform::Status writePlaylistFile(
    const runtime::App& app, const std::string& file, const std::vector<std::string>& lines)
{
    return platform::writeLines(file, lines, common::codePage(app));
}

platform::Status rewritePlaylist(const runtime::App& app, Playlist list,
    const std::vector<std::string>& names, const std::vector<std::string>& paths)
{
    const PlaylistFiles files = playlistFiles(app, list);
    platform::Status status;
    if (paths.size() == names.size()) {
        status = writePlaylistFile(app, files.paths, paths);
    } else {
        std::vector<std::string> pathLines(
            paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(std::min(paths.size(), names.size())));
        pathLines.resize(names.size());
        status = writePlaylistFile(app, files.paths, pathLines);
    }
    if (status)
        status = writePlaylistFile(app, files.names, names);
    return status;
}

std::string displayName(const std::string& fileName)
{
    return ">" + fileName;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind(platform::kSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace player
