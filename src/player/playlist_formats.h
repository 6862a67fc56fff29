#pragma once
// Playlist files as other players write them: M3U (also extended, and ".m3u8"), PLS and
// XSPF. Reading takes the entries' locations and titles as written; resolving a location
// against the playlist's folder is the import's job. Writing makes any of the three.
#include <string>
#include <string_view>
#include <vector>

namespace player::playlists {

enum class Format { None, M3u, Pls, Xspf };

// One entry: its location as written (a path, a file URI or a web address) and its title
// (empty when the file gives none).
struct Entry {
    std::string location;
    std::string title;
    // The length in whole seconds, -1 when unknown (written into M3U's #EXTINF).
    int seconds = -1;
};

// The format of a playlist, by its extension (".m3u", ".m3u8", ".pls", ".xspf", any case),
// else by its first bytes; None when it is no playlist.
Format formatOf(const std::string& path, std::string_view head = {});
// The entries of a playlist's text in file order. Lines longer than kMaxLine and entries
// past kMaxEntries are left out (cut, when given, says whether any were); text that is no
// playlist of the format gives no entries. XSPF is read as XML: elements of the XSPF
// namespace (or of none), a track's own location and title only.
std::vector<Entry> read(Format format, std::string_view text, bool* cut = nullptr);
constexpr size_t kMaxLine = size_t { 64 } * 1024;
constexpr size_t kMaxEntries = 100'000;

// The text of a playlist of the entries (UTF-8; M3U with #EXTINF titles).
std::string write(Format format, const std::vector<Entry>& entries);

// Whether a location is a web address (a scheme other than "file" before "://").
bool isWebAddress(const std::string& location);
// Where an entry's location points, for a playlist in folder: a web address as written, a
// file URI's path, a relative path (also one written with backslashes) under folder, in
// normal form; empty for a file URI of another machine and for a location holding a NUL.
std::string resolve(const std::string& location, const std::string& folder);

// A file URI's local path ("file:///a/b%20c" gives "/a/b c"); empty when the location is no
// local file URI.
std::string localPathOfFileUri(std::string_view uri);
// The file URI of an absolute path, with the characters a URI cannot hold percent-encoded.
std::string fileUriOf(const std::string& path);

} // namespace player::playlists
