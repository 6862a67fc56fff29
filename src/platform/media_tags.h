#pragma once
// The tags of a song file (title, artist, album, length and the lyrics it carries), read with
// TagLib from ID3v1, ID3v2, APE, Vorbis comments and MP4, with Chinese text that older
// writers stored as single bytes read in its own character set.
#include <string>

namespace platform {

struct SongTags {
    std::string title;
    std::string artist;
    std::string album;
    // The length in whole seconds, 0 when unknown.
    int seconds = 0;
    // Lyrics the file carries: synchronised ones as LRC text ("[mm:ss.xx]line" lines), else
    // the plain text; empty when it has none.
    std::string lyrics;
};

// The tags of a local song file, as UTF-8; every field empty when the path is no regular
// file, no song TagLib reads, or has no tags.
SongTags readSongTags(const std::string& path);

} // namespace platform
