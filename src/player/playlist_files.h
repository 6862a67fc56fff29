#pragma once
// The two persistent playlists: each a pair of parallel line files in the data folder's
// "Temp" folder, one of full paths and one of display names (">" and the file name). The
// two files of a playlist are one record and are always committed together.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/result.h"

namespace runtime {
class App;
}

namespace player {

// Which of the two playlists.
enum class Playlist { Music, Video };

// The path file and the name file of a playlist, and the journal that marks a commit of the
// pair in progress.
struct PlaylistFiles {
    std::string paths;
    std::string names;
    std::string journal;
};

// A playlist as read from its files.
struct PlaylistContent {
    std::vector<std::string> names;
    std::vector<std::string> paths;
    // False when a file of the pair exists but cannot be read whole (too large, not a regular
    // file, no permission): the lists are then empty and the files must be kept as they are.
    bool readable = true;
};

// The largest playlist file read; a larger one is kept untouched and never rewritten.
constexpr size_t kMaxPlaylistBytes = size_t { 64 } * 1024 * 1024;

// Where the two files of a playlist are.
PlaylistFiles playlistFiles(const runtime::App& app, Playlist list);
// Creates the data folder, its Temp folder and the playlist's two files when missing;
// existing files are left as they are.
void ensurePlaylistFiles(const runtime::App& app, Playlist list);
// Both files of a playlist, after finishing a commit that a crash interrupted.
PlaylistContent readPlaylist(const runtime::App& app, Playlist list);
// The path file alone, read the same way.
std::vector<std::string> readPlaylistPaths(const runtime::App& app, Playlist list);
// Whether both files of the playlist may be rewritten: each is missing or readable whole.
bool playlistWritable(const runtime::App& app, Playlist list);
// Rewrites both files of a playlist from the shown lists as one commit: one line per name,
// and the path of the same index (an empty line where the paths run short). When
// onlyExisting, each existing file is written from its own list as it is, and a missing one
// is not created. Refused, changing nothing, when a file of the pair cannot be read whole.
platform::Status rewritePlaylist(const runtime::App& app, Playlist list,
    const std::vector<std::string>& names, const std::vector<std::string>& paths, bool onlyExisting = false);
// The display name of a file: the ">" marker followed by the name.
std::string displayName(const std::string& fileName);
// The folder of a path: everything before its last separator (empty when it has none).
std::string folderOf(const std::string& path);
// The last part of a path: everything after its last separator.
std::string fileNameOf(const std::string& path);
// Whether a file name can be one line of a playlist file (it holds no CR or LF).
bool fitsOneLine(const std::string& fileName);

} // namespace player
