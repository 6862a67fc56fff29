#pragma once
// Whether the media framework can decode the common formats, so the decoder hint shows only
// where it helps, and a medium that fails for want of a decoder can name it.
#include <string>
#include <vector>

namespace platform {

// The common formats, by the names the player shows.
inline constexpr const char* kCommonFormats[] = { "MP3", "AAC", "H.264", "MPEG-4", "Vorbis", "Theora" };

// The common formats that no decoder of a framework's install-info listing (one line per
// capability, "decoder-audio/mpeg, mpegversion=(int)1, layer=(int)[ 1, 3 ];") can decode,
// in the order above. A listing without a single decoder line names them all.
std::vector<std::string> formatsWithoutDecoder(const std::string& listing);

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
