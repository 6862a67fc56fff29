#include <gtest/gtest.h>

#include "platform/media_tags.h"
#include "support/song_files.h"
#include "support/temp_dir.h"

using namespace testing_support;

TEST(MediaTags, ChineseStoredAsSingleBytesIsReadAsChinese)
{
    testing_support::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::string title, artist, album;
    };
    const std::string utf16Title = std::string("\x01\xFF\xFE\x74\x66\x29\x59", 7); // 晴天
    const std::vector<Case> cases = {
        { "v1.mp3", mpegAudio() + id3v1(kGbkTitle, kGbkArtist, kGbkAlbum), "晴天", "周杰伦", "叶惠美" },
        { "v2.mp3",
            id3v2(id3Frame("TIT2", '\0' + kGbkTitle) + id3Frame("TPE1", '\0' + kBig5Artist)
                + id3Frame("TALB", std::string("\0Bj\xF6rk", 6)))
                + mpegAudio(),
            "晴天", "周杰倫", "Björk" },
        { "utf16.mp3", id3v2(id3Frame("TIT2", utf16Title)) + mpegAudio(), "晴天", "", "" },
    };
    for (const Case& c : cases) {
        testing_support::writeBytes(dir.file(c.name), c.bytes);
        const platform::SongTags tags = platform::readSongTags(dir.file(c.name));
        EXPECT_EQ(tags.title, c.title) << c.name;
        EXPECT_EQ(tags.artist, c.artist) << c.name;
        EXPECT_EQ(tags.album, c.album) << c.name;
    }
}

TEST(MediaTags, LyricsInsideTheFile)
{
    // SYLT (timed in milliseconds) comes as LRC lines; USLT as its plain text, GBK read as such.
    testing_support::TempDir dir;
    const std::string sylt = id3Frame("SYLT",
        std::string("\0chi\x02\x01\0", 7) + kGbkTitle + '\0' + bigEndian(12340, 4) + "Sunny" + '\0'
            + bigEndian(61000, 4));
    const std::string uslt = id3Frame("USLT", std::string("\0chi\0", 5) + kGbkArtist);
    testing_support::writeBytes(dir.file("synced.mp3"), id3v2(sylt + uslt) + mpegAudio());
    testing_support::writeBytes(dir.file("plain.mp3"), id3v2(uslt) + mpegAudio());
    EXPECT_EQ(platform::readSongTags(dir.file("synced.mp3")).lyrics, "[00:12.34]晴天\n[01:01.00]Sunny\n");
    EXPECT_EQ(platform::readSongTags(dir.file("plain.mp3")).lyrics, "周杰伦");
    EXPECT_EQ(platform::readSongTags(dir.path().string()).title, "");
}
