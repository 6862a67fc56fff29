#include <gtest/gtest.h>

#include "platform/media_tags.h"
#include "support/song_files.h"
#include "support/temp_dir.h"

using namespace testing_support;

namespace {

// An APEv2 tag of text items (footer only, as most writers leave it).
std::string apeTag(const std::vector<std::pair<std::string, std::string>>& items)
{
    const auto le = [](size_t n) {
        std::string b = bigEndian(n, 4);
        return std::string(b.rbegin(), b.rend());
    };
    std::string area;
    for (const auto& [key, value] : items)
        area += le(value.size()) + le(0) + key + '\0' + value;
    return area + "APETAGEX" + le(2000) + le(area.size() + 32) + le(items.size()) + le(0)
        + std::string(8, '\0');
}

// A song made by ffmpeg with its comments given as raw bytes (GBK or Big5 as older writers
// stored them), or an empty name when ffmpeg cannot make it.
std::string songWithComments(const TempDir& dir, const std::string& name, const std::string& codec)
{
    const std::string file = dir.file(name);
    const std::string command = "ffmpeg -v error -y -f lavfi -i sine=duration=1 -c:a " + codec
        + " -metadata 'title=" + kGbkTitle + "' -metadata 'artist=" + kBig5Artist + "' -metadata 'album="
        + kGbkAlbum + "' -metadata 'lyrics=" + kGbkArtist + "' '" + file + "' 2>/dev/null";
    return std::system(command.c_str()) == 0 ? file : std::string();
}

} // namespace

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
        // APE text items are UTF-8 by their format; GBK or Big5 bytes there are read as such.
        { "ape.mp3",
            mpegAudio()
                + apeTag({ { "Title", kGbkTitle }, { "ARTIST", kBig5Artist }, { "Album", "Bj\xF6rk" } }),
            "晴天", "周杰倫", "Björk" },
        { "ape-v1.mp3", mpegAudio() + apeTag({ { "Title", kGbkTitle } }) + id3v1("", "", ""), "晴天", "",
            "" },
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

TEST(MediaTags, TextCommentsInChineseCodePagesReadAsChinese)
{
    testing_support::TempDir dir;
    for (const auto& [name, codec] : { std::pair { "a.flac", "flac" }, { "a.ogg", "libvorbis" },
             { "a.opus", "libopus" }, { "a.oga", "flac" }, { "a.wv", "wavpack" } }) {
        const std::string file = songWithComments(dir, name, codec);
        ASSERT_FALSE(file.empty()) << "ffmpeg did not make " << name;
        const platform::SongTags tags = platform::readSongTags(file);
        EXPECT_EQ(tags.title, "晴天") << name;
        EXPECT_EQ(tags.artist, "周杰倫") << name;
        EXPECT_EQ(tags.album, "叶惠美") << name;
        EXPECT_EQ(tags.lyrics, "周杰伦") << name;
    }
}
