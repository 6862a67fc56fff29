#include <gtest/gtest.h>

#include "lyrics/lyrics_finder.h"
#include "platform/media_tags.h"
#include "support/network_fixture.h"

namespace {

class LyricsFinder : public network_testing::NetworkTest {
protected:
    std::string song = dir.file("songs/晴天.mp3");
    std::string profile = dir.file("profile/歌词");
    platform::SongTags tags { "晴天", "周杰伦", "叶惠美", 269, "" };

    lyrics::Found find(const std::string& provider = {})
    {
        return lyrics::findLyrics(song, tags, { profile, provider }, &net);
    }
};

} // namespace

TEST_F(LyricsFinder, FirstSourceFoundWins)
{
    // From the last source to the first: each one found hides those after it.
    testing_support::writeBytes(song, "song");
    tags.lyrics = "[00:01.00]in the tags";
    EXPECT_EQ(find().from, "tags");
    const std::vector<std::pair<std::string, std::string>> files = {
        { profile + "/周杰伦 - 晴天.lrc", "[00:01.00]profile by tags" },
        { profile + "/晴天.lrc", "[00:01.00]profile by name" },
        { dir.file("songs/歌词/周杰伦 - 晴天.lrc"), "[00:01.00]beside by tags" },
        { dir.file("songs/歌词/晴天.lrc"), "[00:01.00]beside by name" },
        { dir.file("songs/晴天.lrc"), "[00:01.00]beside the song" },
    };
    for (const auto& [file, text] : files) {
        testing_support::writeBytes(file, text);
        const lyrics::Found found = find();
        EXPECT_EQ(found.from, file);
        ASSERT_EQ(found.lyrics.lines.size(), 1u);
        EXPECT_EQ(found.lyrics.lines[0].text, text.substr(10));
    }
}

TEST_F(LyricsFinder, ProviderAnswerIsCachedPerSongInTheProfile)
{
    const std::string query = "/api/get?artist_name=%E5%91%A8%E6%9D%B0%E4%BC%A6&track_name=%E6%99%B4%E5%A4%A9"
                              "&album_name=%E5%8F%B6%E6%83%A0%E7%BE%8E&duration=269";
    server.addPage(
        query, R"({"plainLyrics":"刮风这天","syncedLyrics":"[00:10.00]刮风这天"})", "application/json");
    lyrics::Found found = find(server.url("/"));
    EXPECT_EQ(found.from, server.url("/"));
    EXPECT_EQ(found.lyrics.lines.at(0).ms, 10000);
    EXPECT_EQ(testing_support::readBytes(profile + "/周杰伦 - 晴天.lrc"), "[00:10.00]刮风这天");
    EXPECT_EQ(find(server.url("/")).from, profile + "/周杰伦 - 晴天.lrc");
    EXPECT_EQ(server.hits("/api/get"), 1);

    // A song the provider has no lyrics for (404) is not asked for again; one it fails on is,
    // and the failure is told.
    tags.title = "七里香";
    EXPECT_TRUE(find(server.url("/")).lyrics.empty());
    EXPECT_TRUE(find(server.url("/")).lyrics.empty());
    EXPECT_EQ(server.hits("/api/get"), 2);
    tags.title = "稻香";
    EXPECT_NE(find(server.garbageUrl()).failure, "");
    const lyrics::Found refused = find(testing_support::FixtureServer::refusedUrl());
    EXPECT_NE(refused.failure, "");
    EXPECT_EQ(refused.from, "");
}
