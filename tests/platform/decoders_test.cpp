#include <gtest/gtest.h>

#include <sstream>

#include "platform/decoders.h"
#include "support/temp_dir.h"

TEST(Decoders, CommonFormatsWithoutDecoderAreNamed)
{
    // Each row: what gst-inspect-1.0 --print-plugin-auto-install-info lists, then the formats
    // named as missing. The rows cover a whole set, none, decoders of the wrong layer or version
    // (MPEG-1 audio layer 2, MPEG-2 video), encoders that are not decoders, and garbage.
    for (const auto& row : testing_support::testRows("platform/decoder_listings.tsv", true)) {
        std::vector<std::string> missing;
        std::istringstream names(row.at(1));
        for (std::string name; std::getline(names, name, ',');)
            missing.push_back(name);
        EXPECT_EQ(platform::formatsWithoutDecoder(row[0]), missing) << row[0];
    }
}
