#pragma once
// The two persistent playlists: each a pair of parallel line files in the data folder's
// "Temp" folder, one of full paths and one of display names (">" and the file name).
#include <string>
#include <vector>

#include "platform/result.h"

namespace runtime {
class App;
}

namespace player {

// Which of the two playlists.
enum class Playlist { Music, Video };

// The path file and the name file of a playlist.
struct PlaylistFiles {
    std::string paths;
    std::string names;
};

// Where the two files of a playlist are.
PlaylistFiles playlistFiles(const runtime::App& app, Playlist list);
// Creates the data folder, its Temp folder and the playlist's two files when missing;
// existing files are left as they are.
void ensurePlaylistFiles(const runtime::App& app, Playlist list);
// The lines of one playlist file in the system code page; a missing file has none.
std::vector<std::string> readPlaylistFile(const runtime::App& app, const std::string& file);
// Replaces one playlist file with these lines, each ended by CR LF, in one atomic write.
platform::Status writePlaylistFile(
    const runtime::App& app, const std::string& file, const std::vector<std::string>& lines);
// Rewrites both files of a playlist from the shown lists: one line per name, and the path
// of the same index (an empty line where the paths run short).
platform::Status rewritePlaylist(const runtime::App& app, Playlist list,
    const std::vector<std::string>& names, const std::vector<std::string>& paths);
// The display name of a file: the ">" marker followed by the name.
std::string displayName(const std::string& fileName);
// The folder of a path: everything before its last separator (empty when it has none).
std::string folderOf(const std::string& path);

} // namespace player
