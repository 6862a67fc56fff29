// Playlists of other players in and out: importing an M3U, PLS or XSPF file into the music
// and video lists, and exporting the shown list as one.
#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/charset_detect.h"
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
constexpr size_t kMaxImportBytes = size_t { 64 } * 1024 * 1024;

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

// What an import found: the new entries of the music (0) and video (1) lists and what it left
// out, by reason.
struct Import {
    std::vector<std::string> names[2];
    std::vector<std::string> paths[2];
    // The paths each list holds: before the import, and those it adds.
    std::set<std::string> held[2];
    int added = 0;
    int missing = 0;
    int refused = 0;
    int unplayable = 0;
    int present = 0;
    bool cut = false;
    // The first entry that can be played (added or already held): its list and path.
    int firstList = -1;
    std::string firstPath;
    std::string problem;
    std::set<std::string> visited;

    [[nodiscard]] bool foundAny() const { return added + missing + refused + unplayable + present > 0; }
    void take(const pl::Entry& entry, const std::string& target);
    void readFile(const std::string& path, int depth);
    [[nodiscard]] std::string status() const;
};

// Adds one entry whose location resolved to target, or counts why it is left out.
void Import::take(const pl::Entry& entry, const std::string& target)
{
    const bool web = pl::isWebAddress(target);
    const media::Kind kind = media::kindOf(target);
    if (target.empty() || (!web && kind != media::Kind::Music && kind != media::Kind::Video)) {
        ++refused;
        return;
    }
    // Sound: an address of a scheme the player does not play (smb://, apt://, a program's
    // own scheme) stays out; later commands would hand it to that scheme's handler.
    if (web && !media::isStreamAddress(target)) {
        ++unplayable;
        return;
    }
    if (!web && !platform::fileExists(target)) {
        ++missing;
        return;
    }
    std::string title = entry.title;
    title.erase(std::remove(title.begin(), title.end(), '\0'), title.end());
    const std::string name = displayName(title.empty() ? fileNameOf(target) : title);
    if (!fitsOneLine(name) || !fitsOneLine(target)) {
        ++refused;
        return;
    }
    const int list = kind == media::Kind::Music ? 0 : 1;
    if (firstList < 0) {
        firstList = list;
        firstPath = target;
    }
    // Sound: an entry the list already holds is not added a second time.
    if (held[list].count(target)) {
        ++present;
        return;
    }
    if (static_cast<size_t>(added) >= pl::kMaxEntries) {
        cut = true;
        return;
    }
    held[list].insert(target);
    names[list].push_back(name);
    paths[list].push_back(target);
    ++added;
}

void Import::readFile(const std::string& path, int depth)
{
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
    // An XML document says its own encoding. Other players' M3U and PLS files are UTF-8,
    // UTF-16 or a Chinese code page of older Windows players.
    if (format != pl::Format::Xspf)
        bytes = platform::decodeDetected(bytes);
    bool fileCut = false;
    const std::string folder = folderOf(path);
    for (const pl::Entry& e : pl::read(format, bytes, &fileCut)) {
        const std::string target = pl::resolve(e.location, folder);
        if (!pl::isWebAddress(target) && pl::formatOf(target) != pl::Format::None)
            readFile(target, depth + 1);
        else
            take(e, target);
    }
    cut = cut || fileCut;
}

std::string Import::status() const
{
    std::string text = "已导入" + std::to_string(added) + "个";
    const std::pair<int, const char*> skipped[]
        = { { missing, "个文件不存在已跳过" }, { refused, "个不是影音文件已跳过" },
              { present, "个已在列表中已跳过" }, { unplayable, "个地址无法播放已跳过" } };
    for (const auto& [count, why] : skipped) {
        if (count > 0)
            text += "，" + std::to_string(count) + why;
    }
    // Sound: a list too long to take whole says so.
    if (cut)
        text += "，条目超过" + std::to_string(pl::kMaxEntries) + "个，其余没有导入";
    return text;
}

} // namespace

void Form5::importPlaylist(const std::string& file, bool play)
{
    Import found;
    PlaylistContent content[2]
        = { readPlaylist(app(), Playlist::Music), readPlaylist(app(), Playlist::Video) };
    for (int i : { 0, 1 })
        found.held[i].insert(content[i].paths.begin(), content[i].paths.end());
    found.readFile(file, 0);
    if (!found.foundAny()) {
        Text4.setText(found.problem.empty() ? "播放列表中没有可以导入的条目" : found.problem);
        return;
    }
    Playlist shown = Playlist::Music;
    for (Playlist list : { Playlist::Music, Playlist::Video }) {
        const int i = list == Playlist::Music ? 0 : 1;
        if (found.paths[i].empty() || !content[i].readable)
            continue;
        ensurePlaylistFiles(app(), list);
        PlaylistContent& c = content[i];
        c.paths.resize(c.names.size());
        c.names.insert(c.names.end(), found.names[i].begin(), found.names[i].end());
        c.paths.insert(c.paths.end(), found.paths[i].begin(), found.paths[i].end());
        if (const platform::Status saved = rewritePlaylist(app(), list, c.names, c.paths); !saved) {
            playlistNotSaved(saved);
            return;
        }
        if (found.paths[0].empty() || list == Playlist::Music)
            shown = list;
    }
    if (play && found.firstList >= 0)
        shown = found.firstList == 0 ? Playlist::Music : Playlist::Video;
    if (found.added > 0 || (play && found.firstList >= 0))
        showPlaylist(shown);
    const std::vector<std::string>& listed = List2.items();
    const auto first = std::find(listed.begin(), listed.end(), found.firstPath);
    if (!play || found.firstList < 0 || first == listed.end()) {
        Text4.setText(found.status());
        return;
    }
    // Opened with the program, a playlist plays from its first entry, as a media file does;
    // the status line follows once the dispatcher has taken the address.
    List1.setListIndex(static_cast<int>(first - listed.begin()));
    playSelected(List1, List2, kPlayList);
    m_notice = found.status();
    tishi.start(1);
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
