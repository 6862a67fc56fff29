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

// The stream of the highest bandwidth, the first of equals; a stream without a number counts
// as none.
TEST(HlsPlaylistTest, MasterPlaylistChoosesItsWidestStream)
{
    const struct {
        const char* name;
        const char* text;
        const char* variant;
    } rows[] = {
        { "widest in the middle",
            "#EXT-X-STREAM-INF:BANDWIDTH=1000\nlo.m3u8\n#EXT-X-STREAM-INF:RESOLUTION=1x1,BANDWIDTH=9000\n"
            "hi.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH=5000\nmid.m3u8\n",
            "http://h/a/hi.m3u8" },
        { "equals", "#EXT-X-STREAM-INF:BANDWIDTH=7\none.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH=7\ntwo.m3u8\n",
            "http://h/a/one.m3u8" },
        { "no numbers",
            "#EXT-X-STREAM-INF:BANDWIDTH=x\nfirst.m3u8\n#EXT-X-STREAM-INF:AVERAGE-BANDWIDTH=9\nnext.m3u8\n",
            "http://h/a/first.m3u8" },
        { "only a local stream", "#EXT-X-STREAM-INF:BANDWIDTH=7\nfile:///etc/passwd\n", "" },
    };
    for (const auto& row : rows) {
        const auto list = readHlsPlaylist(row.text, "http://h/a/master.m3u8");
        EXPECT_EQ(list.variant, row.variant) << row.name;
        EXPECT_TRUE(list.pieces.empty()) << row.name;
    }
}

// Encrypted pieces, byte ranges (of a piece or of the initialisation section), addresses that
// are not on the web, and a list longer than any video.
TEST(HlsPlaylistTest, UnjoinablePlaylistsAreMarked)
{
    EXPECT_TRUE(readHlsPlaylist("#EXT-X-KEY:METHOD=AES-128,URI=\"k\"\na.ts\n", "http://h/").encrypted);
    EXPECT_TRUE(readHlsPlaylist("#EXT-X-BYTERANGE:10@0\na.ts\n", "http://h/").byteRanges);
    EXPECT_TRUE(
        readHlsPlaylist("#EXT-X-MAP:URI=\"i.mp4\",BYTERANGE=\"10@0\"\na.ts\n", "http://h/").byteRanges);
    EXPECT_EQ(readHlsPlaylist("file:///etc/passwd\ndata:,x\nftp://h/a.ts\nok.ts\n", "http://h/").pieces,
        std::vector<std::string> { "http://h/ok.ts" });

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
