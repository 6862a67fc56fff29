#pragma once
// HLS playlists: the fragments of a media playlist, and the best stream of a master playlist.
#include <string>
#include <vector>

namespace downloads {

struct HlsPlaylist {
    // Fragment addresses in play order (the initialisation section first, when there is one).
    std::vector<std::string> fragments;
    // A master playlist's stream with the highest bandwidth; empty for a media playlist.
    std::string bestStream;
    // Why the fragments cannot be joined into a file (encrypted, byte ranges); empty when they can.
    std::string refusal;
};

// Whether an address names an HLS playlist (its path ends in .m3u8).
bool isHlsAddress(const std::string& url);
// Reads a playlist fetched from base; addresses come out absolute.
HlsPlaylist parseHlsPlaylist(const std::string& text, const std::string& base);
// An address relative to base made absolute.
std::string resolveAddress(const std::string& base, const std::string& relative);

} // namespace downloads
