#include "player/playlist_files.h"

#include <algorithm>

#include "common/data_folders.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace player {

namespace {

bool mayRewrite(const std::string& file)
{
    const platform::ReadOutcome state = platform::probeFile(file, kMaxPlaylistBytes);
    return state == platform::ReadOutcome::Read || state == platform::ReadOutcome::Missing;
}

// Reads one file of the pair; readable turns false when it exists but cannot be read whole.
std::vector<std::string> readListFile(const runtime::App& app, const std::string& file, bool& readable)
{
    std::vector<std::string> lines;
    const platform::ReadOutcome state
        = platform::readLinesChecked(file, common::codePage(app), lines, kMaxPlaylistBytes);
    if (state != platform::ReadOutcome::Read && state != platform::ReadOutcome::Missing)
        readable = false;
    return lines;
}

} // namespace

PlaylistFiles playlistFiles(const runtime::App& app, Playlist list)
{
    const std::string temp = common::dataPaths(app).temp;
    if (list == Playlist::Music)
        return { temp + "mpath.ini", temp + "mname.ini", temp + ".mlist.commit" };
    return { temp + "vpath.ini", temp + "vname.ini", temp + ".vlist.commit" };
}

void ensurePlaylistFiles(const runtime::App& app, Playlist list)
{
    common::EnsureTempFolder(app);
    const PlaylistFiles files = playlistFiles(app, list);
    // A commit cut short may be about to bring a missing file back.
    platform::completeCommit(files.journal);
    for (const std::string* file : { &files.paths, &files.names }) {
        // Only a missing file is created: a folder or FIFO in its place is kept and reads as
        // unreadable.
        if (platform::probeFile(*file) == platform::ReadOutcome::Missing)
            // One that cannot be made reads as unreadable, which the list then says.
            std::ignore = platform::writeFileAtomic(*file, {});
    }
}

PlaylistContent readPlaylist(const runtime::App& app, Playlist list)
{
    const PlaylistFiles files = playlistFiles(app, list);
    platform::completeCommit(files.journal);
    PlaylistContent content;
    // Designed: a pair of different lengths (edited by hand) loads as it is.
    content.names = readListFile(app, files.names, content.readable);
    content.paths = readListFile(app, files.paths, content.readable);
    if (!content.readable) {
        // Sound: a file the program cannot read whole is kept; the list works empty in memory.
        content.names.clear();
        content.paths.clear();
    }
    return content;
}

std::vector<std::string> readPlaylistPaths(const runtime::App& app, Playlist list)
{
    const PlaylistFiles files = playlistFiles(app, list);
    platform::completeCommit(files.journal);
    bool readable = true;
    return readListFile(app, files.paths, readable);
}

bool playlistWritable(const runtime::App& app, Playlist list)
{
    const PlaylistFiles files = playlistFiles(app, list);
    return mayRewrite(files.paths) && mayRewrite(files.names);
}

platform::Status rewritePlaylist(const runtime::App& app, Playlist list,
    const std::vector<std::string>& names, const std::vector<std::string>& paths, bool onlyExisting)
{
    const PlaylistFiles files = playlistFiles(app, list);
    if (!playlistWritable(app, list))
        return platform::Status::failure(
            "the playlist files cannot be read whole and are kept: " + files.names);
    const std::string codePage = common::codePage(app);
    std::vector<platform::FileContent> pair;
    if (onlyExisting) {
        // The delete command writes each existing file from its own list, as it is.
        if (platform::fileExists(files.paths))
            pair.push_back({ files.paths, platform::encodeLines(paths, codePage) });
    } else if (paths.size() == names.size()) {
        pair.push_back({ files.paths, platform::encodeLines(paths, codePage) });
    } else {
        std::vector<std::string> pathLines(
            paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(std::min(paths.size(), names.size())));
        pathLines.resize(names.size());
        pair.push_back({ files.paths, platform::encodeLines(pathLines, codePage) });
    }
    if (!onlyExisting || platform::fileExists(files.names))
        pair.push_back({ files.names, platform::encodeLines(names, codePage) });
    if (pair.empty())
        return platform::Status::success();
    // Sound: the names and the paths are one record, committed together, so a crash leaves
    // the old pair or the new pair and never one file of each.
    return platform::commitTogether(files.journal, pair);
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

std::string fileNameOf(const std::string& path)
{
    const size_t slash = path.rfind(platform::kSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool fitsOneLine(const std::string& fileName)
{
    return fileName.find_first_of("\r\n") == std::string::npos;
}

} // namespace player
