#include <gtest/gtest.h>

#include "platform/decoders.h"

TEST(Decoders, CommonFormatsWithoutDecoderAreNamed)
{
    // A player with every decoder, one with a few, and one whose list could not be read.
    EXPECT_TRUE(platform::formatsWithoutDecoder({ "flac", "mp3", "aac", "h264", "mpeg4", "vorbis", "theora" })
                    .empty());
    EXPECT_EQ(platform::formatsWithoutDecoder({ "aac", "h264", "vorbis" }),
        (std::vector<std::string> { "MP3", "MPEG-4", "Theora" }));
    EXPECT_EQ(platform::formatsWithoutDecoder({}).size(), std::size(platform::kCommonFormats));
}
