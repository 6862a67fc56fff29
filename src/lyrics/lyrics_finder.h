#pragma once
// Where a song's lyrics are found: files beside it, the lyrics folders, its own tags, and an
// online provider speaking the LRCLIB interface.
#include <string>

#include "lyrics/lrc.h"

namespace platform {
class Network;
struct SongTags;
} // namespace platform

namespace lyrics {

// The name of the lyrics folders, beside songs and in the profile.
inline constexpr const char* kFolderName = "歌词";

struct Sources {
    // The profile's lyrics folder (lyrics the provider gave are kept there too).
    std::string profileFolder;
    // The provider's address ("https://lrclib.net"); empty when none is configured.
    std::string provider;
};

struct Found {
    // The lyrics as UTF-8 text (LRC or plain), and as read from it.
    std::string text;
    Lyrics lyrics;
    // Where they came from: a file's path, "tags", or the provider's address; empty when
    // nothing was found.
    std::string from;
    // Why the provider gave nothing, when it failed (for the status line); empty otherwise.
    std::string failure;
};

// The lyrics of a song, the first found winning: "NAME.lrc" beside the song; the lyrics
// folder beside the song, then the profile's, each by the song's file name and then by
// "artist - title"; the lyrics in its tags; then the provider. The provider is asked once per
// song: lyrics it gives are kept in the profile's folder as "artist - title.lrc", and a song
// it has none for is marked there, so neither is asked for again. network may be null when
// sources name no provider.
Found findLyrics(const std::string& songPath, const platform::SongTags& tags, const Sources& sources,
    platform::Network* network);

} // namespace lyrics
