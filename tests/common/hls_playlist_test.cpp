// The HLS playlist reader both downloaders share: what it keeps of a playlist, and what it
// refuses to hold.
#include <gtest/gtest.h>

#include "common/hls_playlist.h"

namespace {

using common::readHlsPlaylist;

// The initialisation section comes first, addresses resolve against the playlist's, a key of
// METHOD=NONE is no encryption, and a quoted attribute may hold commas.
TEST(HlsPlaylistTest, MediaPlaylistGivesItsPiecesInPlayOrder)
{
    const auto list
        = readHlsPlaylist("#EXTM3U\r\n#EXT-X-KEY:METHOD=NONE\r\n"
                          "#EXT-X-MAP:URI=\"init,v1.mp4\"\r\n#EXTINF:2,\r\n/abs/a.m4s\r\n"
                          "#EXTINF:2,\r\n  b.m4s?t=1  \r\n#EXTINF:2,\r\nhttps://cdn.example/c.m4s\r\n",
            "http://h.example/v/index.m3u8?sig=1");
    EXPECT_EQ(list.pieces,
        (std::vector<std::string> { "http://h.example/v/init,v1.mp4", "http://h.example/abs/a.m4s",
            "http://h.example/v/b.m4s?t=1", "https://cdn.example/c.m4s" }));
    EXPECT_TRUE(list.variant.empty());
    EXPECT_FALSE(list.encrypted || list.byteRanges || list.tooLong);
}

// Beyond what the download list's test reads: equal streams, streams without a number, a
// byte range of the initialisation section, and a list longer than any video.
TEST(HlsPlaylistTest, EdgesOfMasterAndMediaPlaylists)
{
    EXPECT_EQ(
        readHlsPlaylist("#EXT-X-STREAM-INF:BANDWIDTH=7\none.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH=7\ntwo.m3u8\n",
            "http://h/a/m.m3u8")
            .variant,
        "http://h/a/one.m3u8");
    EXPECT_EQ(
        readHlsPlaylist("#EXT-X-STREAM-INF:BANDWIDTH=x\nfirst.m3u8\n#EXT-X-STREAM-INF:AVERAGE-BANDWIDTH=9\n"
                        "next.m3u8\n",
            "http://h/a/m.m3u8")
            .variant,
        "http://h/a/first.m3u8");
    EXPECT_TRUE(
        readHlsPlaylist("#EXT-X-MAP:URI=\"i.mp4\",BYTERANGE=\"10@0\"\na.ts\n", "http://h/").byteRanges);

    std::string endless;
    for (size_t i = 0; i <= common::kMaxHlsPieces; ++i)
        endless += "p.ts\n";
    const auto list = readHlsPlaylist(endless, "http://h/");
    EXPECT_TRUE(list.tooLong);
    EXPECT_TRUE(list.pieces.empty());
}

TEST(HlsPlaylistTest, AddressIsHlsByItsPath)
{
    EXPECT_TRUE(common::isHlsAddress("http://h/live/INDEX.M3U8?token=a.mp4"));
    EXPECT_FALSE(common::isHlsAddress("http://h/video.m3u8.mp4"));
    EXPECT_FALSE(common::isHlsAddress("http://h/page#x.m3u8"));
}

} // namespace
