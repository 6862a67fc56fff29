#pragma once
// HLS playlists, as the video downloader and the download manager read them: the pieces of a
// media playlist, or the stream a master playlist offers at the highest bandwidth.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// More pieces than any video has (a day in pieces of two seconds): a list this long is
// refused rather than held.
inline constexpr size_t kMaxHlsPieces = 50000;

struct HlsPlaylist {
    // Piece addresses in play order, absolute (the initialisation section first, when there is
    // one); only http and https addresses are kept. Empty for a master playlist.
    std::vector<std::string> pieces;
    // A master playlist's stream with the highest bandwidth (the first of equals).
    std::string variant;
    // Pieces that cannot be joined into a file: encrypted, or byte ranges of a larger file.
    bool encrypted = false;
    bool byteRanges = false;
    // It names more than kMaxHlsPieces pieces; none are kept.
    bool tooLong = false;
};

// Whether an address names an HLS playlist (its path ends in .m3u8).
[[nodiscard]] bool isHlsAddress(const std::string& url);
// Reads a playlist fetched from address; relative addresses are resolved against it.
[[nodiscard]] HlsPlaylist readHlsPlaylist(std::string_view text, const std::string& address);

} // namespace common
