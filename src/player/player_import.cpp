// Playlists of other players in and out: importing an M3U, PLS or XSPF file into the music
// and video lists, and exporting the shown list as one.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "platform/codec.h"
#include "platform/environment.h"
#include "platform/media_tags.h"
#include "platform/textfile.h"
#include "player/media_kinds.h"
#include "player/player_window.h"
#include "player/playlist_formats.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace player {

namespace {

namespace pl = playlists;

// Playlists naming playlists are followed this deep, each file once.
constexpr int kMaxNesting = 8;
// The largest playlist file read.
constexpr size_t kMaxImportBytes = 64u * 1024 * 1024;

bool validUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        bool wellFormed = false;
        vb::decodeUtf8(s, i, &wellFormed);
        if (!wellFormed)
            return false;
    }
    return true;
}

// An entry of an exported playlist: a song's own tags name it ("artist - title", as other
// players write it) and give its length; otherwise the list's name without its marker does.
pl::Entry exportEntry(const std::string& path, std::string name)
{
    if (!name.empty() && name.front() == '>')
        name.erase(0, 1);
    const platform::SongTags tags = platform::readSongTags(path);
    const int seconds = tags.seconds > 0 ? tags.seconds : -1;
    if (tags.title.empty())
        return { path, name, seconds };
    return { path, tags.artist.empty() ? tags.title : tags.artist + " - " + tags.title, seconds };
}

struct ImportTally {
    int added = 0;
    int missing = 0;
    int refused = 0;
};

} // namespace

void Form5::importPlaylist(const std::string& file)
{
    ImportTally tally;
    std::vector<std::string> names[2];
    std::vector<std::string> paths[2];
    std::set<std::string> visited;
    std::string problem;
    const std::string codePage = app().service<platform::Environment>().codePage();

    std::function<void(const std::string&, int)> readOne = [&](const std::string& path, int depth) {
        std::error_code ec;
        const std::string canonical = std::filesystem::weakly_canonical(path, ec).string();
        if (depth > kMaxNesting || !visited.insert(ec ? path : canonical).second)
            return;
        std::string bytes;
        if (platform::readFileChecked(path, bytes, kMaxImportBytes) != platform::ReadOutcome::Read) {
            problem = "无法读取播放列表文件（文件过大或无法打开）";
            return;
        }
        const pl::Format format = pl::formatOf(path, bytes);
        if (format == pl::Format::None) {
            problem = "不是可以导入的播放列表文件（支持 M3U、M3U8、PLS、XSPF）";
            return;
        }
        // Sound: an old M3U is in the local code page rather than UTF-8.
        if (!validUtf8(bytes))
            bytes = platform::decode(bytes, codePage.empty() ? "GBK" : codePage);
        const std::string folder = folderOf(path);
        for (const pl::Entry& e : pl::read(format, bytes)) {
            const std::string target = pl::resolve(e.location, folder);
            const bool web = pl::isWebAddress(target);
            if (!web && pl::formatOf(target) != pl::Format::None) {
                readOne(target, depth + 1);
                continue;
            }
            const media::Kind kind = media::kindOf(target);
            if (target.empty() || (!web && kind != media::Kind::Music && kind != media::Kind::Video)) {
                ++tally.refused;
                continue;
            }
            if (!web && !platform::fileExists(target)) {
                ++tally.missing;
                continue;
            }
            const std::string name = e.title.empty() ? displayName(fileNameOf(target)) : displayName(e.title);
            if (!fitsOneLine(name) || !fitsOneLine(target)) {
                ++tally.refused;
                continue;
            }
            const int list = kind == media::Kind::Music ? 0 : 1;
            names[list].push_back(name);
            paths[list].push_back(target);
            ++tally.added;
        }
    };
    readOne(file, 0);
    if (tally.added == 0 && tally.missing == 0 && tally.refused == 0) {
        Text4.setText(problem.empty() ? "播放列表中没有可以导入的条目" : problem);
        return;
    }
    Playlist shown = Playlist::Music;
    for (Playlist list : { Playlist::Music, Playlist::Video }) {
        const int i = list == Playlist::Music ? 0 : 1;
        if (paths[i].empty())
            continue;
        ensurePlaylistFiles(app(), list);
        PlaylistContent content = readPlaylist(app(), list);
        if (!content.readable)
            continue;
        content.names.insert(content.names.end(), names[i].begin(), names[i].end());
        content.paths.resize(std::max(content.paths.size(), content.names.size() - names[i].size()));
        content.paths.insert(content.paths.end(), paths[i].begin(), paths[i].end());
        if (const platform::Status saved = rewritePlaylist(app(), list, content.names, content.paths);
            !saved) {
            playlistNotSaved(saved);
            return;
        }
        if (paths[0].empty() || list == Playlist::Music)
            shown = list;
    }
    if (tally.added > 0)
        showPlaylist(shown);
    std::string status = "已导入" + std::to_string(tally.added) + "个";
    if (tally.missing > 0)
        status += "，" + std::to_string(tally.missing) + "个文件不存在已跳过";
    if (tally.refused > 0)
        status += "，" + std::to_string(tally.refused) + "个不是影音文件已跳过";
    Text4.setText(status);
}

void Form5::exportPlaylist(const std::string& file)
{
    std::string target = file;
    pl::Format format = pl::formatOf(target);
    if (format == pl::Format::None) {
        target += ".m3u8";
        format = pl::Format::M3u;
    }
    std::vector<pl::Entry> entries;
    for (int i = 0; i < List1.listCount() && i < List2.listCount(); ++i) {
        entries.push_back(exportEntry(List2.list(i), List1.list(i)));
    }
    const platform::Status written = platform::writeFileAtomic(target, pl::write(format, entries));
    Text4.setText(written.ok ? "已导出" + std::to_string(entries.size()) + "个到 " + target
                             : "导出播放列表失败：" + written.error);
}

} // namespace player
