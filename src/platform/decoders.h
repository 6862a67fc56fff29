#pragma once
// Whether the media engine can decode the common formats, so the decoder hint shows only
// where it helps, and a medium that fails for want of a decoder can name it.
#include <string>
#include <vector>

namespace platform {

// The common formats, by the names the player shows.
inline constexpr const char* kCommonFormats[] = { "MP3", "AAC", "H.264", "MPEG-4", "Vorbis", "Theora" };

// The common formats that none of the codecs named (FFmpeg's names of the decoders a player
// has: "mp3", "h264"...) decodes, in the order above.
std::vector<std::string> formatsWithoutDecoder(const std::vector<std::string>& codecs);

// The common formats a medium of this file name's extension may need (empty when it is no
// common container), in the order above.
std::vector<std::string> formatsOfMedium(const std::string& name);

class Decoders {
public:
    virtual ~Decoders() = default;
    // The common formats without a decoder; empty when every one has one or when the
    // framework cannot be asked.
    virtual std::vector<std::string> missing() = 0;
};

} // namespace platform
