#include <gtest/gtest.h>

#include "platform/decoders.h"

namespace {

// Decoder lines as gst-inspect-1.0 --print-plugin-auto-install-info writes them.
const char* const kMp3 = "decoder-audio/mpeg, mpegversion=(int)1, layer=(int)[ 1, 3 ];\n";
const char* const kAac
    = "decoder-audio/mpeg, mpegversion=(int){ 2, 4 }, stream-format=(string){ raw, adts };\n";
const char* const kH264
    = "decoder-video/x-h264, alignment=(string)au, stream-format=(string){ avc, byte-stream };\n";
const char* const kMpeg4 = "decoder-video/mpeg, mpegversion=(int)4, systemstream=(boolean)false;\n";
const char* const kVorbis = "decoder-audio/x-vorbis;\n";
const char* const kTheora = "decoder-video/x-theora;\n";

TEST(Decoders, CommonFormatsWithoutDecoderAreNamed)
{
    const std::string all = std::string(kMp3) + kAac + kH264 + kMpeg4 + kVorbis + kTheora;
    const struct {
        std::string listing;
        std::vector<std::string> missing;
    } cases[] = {
        { all + "element-vorbisdec\nencoder-audio/x-vorbis;\n", {} },
        { "", { "MP3", "AAC", "H.264", "MPEG-4", "Vorbis", "Theora" } },
        // Only layers 1 and 2, and only MPEG-1 and 2 video: neither MP3 nor MPEG-4 part 2.
        { std::string("decoder-audio/mpeg, mpegversion=(int)1, layer=(int)2;\n") + kAac + kH264
                + "decoder-video/mpeg, mpegversion=(int)[ 1, 2 ], systemstream=(boolean)false;\n" + kVorbis
                + kTheora,
            { "MP3", "MPEG-4" } },
        // Encoders and parsers of a format are not its decoders.
        { std::string("encoder-video/x-h264;\n") + kMp3 + kAac + kMpeg4 + kVorbis, { "H.264", "Theora" } },
        { "\x01\xff garbage decoder-\n decoder-audio/x-vorbis;\n",
            { "MP3", "AAC", "H.264", "MPEG-4", "Vorbis", "Theora" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::formatsWithoutDecoder(c.listing), c.missing) << c.listing;
}

} // namespace
