// Playlists of other players imported into the music and video lists, and the shown list
// exported and read back.
#include <filesystem>

#include "platform/codec.h"
#include "platform/textfile.h"
#include "player/playlist_formats.h"
#include "player_fixture.h"
#include "support/song_files.h"

using namespace player_testing;

namespace {

class PlaylistImport : public PlayerTest {
protected:
    std::string folder = p.env->userProfile() + "/lists";
    void SetUp() override
    {
        PlayerTest::SetUp();
        std::filesystem::create_directories(folder + "/songs");
        for (const char* name : { "songs/a.mp3", "songs/b c.ogg", "v.mp4" })
            writeBytes(folder + "/" + name, "x");
    }
};

TEST_F(PlaylistImport, ImportSortsEntriesIntoTheirLists)
{
    // An extended M3U of a Windows player (CR LF, backslashes), naming a PLS with a gap that
    // names the M3U again, and an XSPF with a file URI.
    for (const std::string name : { "main.m3u", "more.pls" })
        writeBytes(folder + "/" + name, readBytes(testing_support::testData("player/" + name)));
    writeBytes(folder + "/other.xspf",
        "<playlist xmlns=\"http://xspf.org/ns/0/\"><trackList><track><location>file://" + folder
            + "/songs/b%20c.ogg</location><title>B &amp; C</title></track></trackList></playlist>");
    player().importPlaylist(folder + "/main.m3u");
    p.app.runUntilIdle();
    EXPECT_EQ(readBytes(p.dataFile("Temp/mname.ini")), crlf({ ">晨曲", ">live.mp3", ">B & C" }));
    EXPECT_EQ(readBytes(p.dataFile("Temp/mpath.ini")),
        crlf({ folder + "/songs/a.mp3", "http://127.0.0.1/live.mp3", folder + "/songs/b c.ogg" }));
    EXPECT_EQ(readBytes(p.dataFile("Temp/vpath.ini")), crlf({ folder + "/v.mp4" }));
    EXPECT_EQ(player().Text4.text(), "已导入4个，2个文件不存在已跳过，1个不是影音文件已跳过");
}

TEST_F(PlaylistImport, OlderPlayersListsComeInOnceWithoutForeignAddresses)
{
    // A GBK list as older Windows players write it (no BOM, CR LF, relative paths) under a
    // UTF-8 code page, with addresses of schemes the player does not play and a NUL.
    writeBytes(folder + "/歌曲/晨曲.mp3", "x");
    const std::string lines = "#EXTM3U\r\n歌曲\\晨曲.mp3\r\nv.mp4\r\nsmb://host/x.mp3\r\napt://install\r\n"
                              "rtsp://127.0.0.1/s\r\nsongs/a.mp3"
        + std::string(1, '\0') + "x.mp3\r\n";
    writeBytes(folder + "/old.m3u", platform::encode(lines, "GBK"));
    player().importPlaylist(folder + "/old.m3u");
    EXPECT_EQ(player().Text4.text(), "已导入3个，1个不是影音文件已跳过，2个地址无法播放已跳过");
    EXPECT_EQ(readBytes(p.dataFile("Temp/mpath.ini")), crlf({ folder + "/歌曲/晨曲.mp3" }));
    EXPECT_EQ(readBytes(p.dataFile("Temp/vpath.ini")), crlf({ folder + "/v.mp4", "rtsp://127.0.0.1/s" }));

    // Opened with the program again: nothing is added twice, and its first entry plays.
    player().openWith({ folder + "/old.m3u" });
    p.app.runUntilIdle();
    EXPECT_EQ(player().WindowsMediaPlayer1.url(), folder + "/歌曲/晨曲.mp3");
    EXPECT_EQ(player().Text4.text(),
        "已导入0个，1个不是影音文件已跳过，3个已在列表中已跳过，2个地址无法播放已跳过");
    EXPECT_EQ(readBytes(p.dataFile("Temp/mpath.ini")), crlf({ folder + "/歌曲/晨曲.mp3" }));

    std::string many = "#EXTM3U\n";
    for (size_t i = 0; i <= player::playlists::kMaxEntries; ++i)
        many += "http://127.0.0.1/" + std::to_string(i) + ".mp3\n";
    writeBytes(folder + "/many.m3u", many);
    player().importPlaylist(folder + "/many.m3u");
    EXPECT_EQ(player().Text4.text(), "已导入100000个，条目超过100000个，其余没有导入");
}

TEST_F(PlaylistImport, MalformedFilesGiveAMessage)
{
    writeBytes(folder + "/junk.m3u", std::string("\0\xff\xfe", 3) + std::string(10 * 1024 * 1024, 'j'));
    player().importPlaylist(folder + "/junk.m3u");
    EXPECT_EQ(player().Text4.text(), "播放列表中没有可以导入的条目");
    writeBytes(folder + "/junk.bin", "MZ\x90");
    player().importPlaylist(folder + "/junk.bin");
    EXPECT_EQ(player().Text4.text(), "不是可以导入的播放列表文件（支持 M3U、M3U8、PLS、XSPF）");
}

TEST_F(PlaylistImport, ExportedListsReadBack)
{
    // A song with GBK tags in ID3v1 is named by them.
    writeBytes(folder + "/songs/a.mp3",
        testing_support::mpegAudio()
            + testing_support::id3v1(testing_support::kGbkTitle, testing_support::kGbkArtist, ""));
    player().List1.setItems({ ">a", ">b c" });
    player().List2.setItems({ folder + "/songs/a.mp3", folder + "/songs/b c.ogg" });
    // A list only its owner may read stays so when it is exported over.
    const auto ownerOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    writeBytes(folder + "/out.pls", "");
    std::filesystem::permissions(folder + "/out.pls", ownerOnly);
    for (const char* name : { "out.xspf", "out.pls", "out" }) {
        SCOPED_TRACE(name);
        player().exportPlaylist(folder + "/" + name);
        const std::string written = std::string(name) == "out" ? folder + "/out.m3u8" : folder + "/" + name;
        EXPECT_TRUE(std::string(name) != "out.pls"
            || (std::filesystem::status(written).permissions() & std::filesystem::perms::all) == ownerOnly);
        const auto entries
            = player::playlists::read(player::playlists::formatOf(written), readBytes(written));
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(player::playlists::resolve(entries[1].location, "/"), folder + "/songs/b c.ogg");
        EXPECT_EQ(entries[0].title, "周杰伦 - 晴天");
        EXPECT_EQ(entries[1].title, "b c");
    }
}

} // namespace
