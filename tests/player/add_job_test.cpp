// The add job: dropped files are classified, played, and their folders appended to the
// music or video playlist.
#include <sys/stat.h>

#include <filesystem>

#include "player_fixture.h"

using namespace player_testing;

TEST_F(PlayerTest, EveryDropTargetAddsTheFirstVideoToTheVideoList)
{
    const std::string clip = makeMedia({ "clip.MKV", "movie.rmvb", "song.mp3" });
    struct Target {
        const char* name;
        std::function<void(const std::vector<std::string>&)> dropOn;
    };
    player::Form5& f = player();
    const Target targets[] = {
        { "window", [&](const std::vector<std::string>& files) { f.dropFiles(files); } },
        { "list", [&](const std::vector<std::string>& files) { f.List1.dropFiles(files); } },
        { "hint", [&](const std::vector<std::string>& files) { f.Label4.dropFiles(files); } },
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.name);
        writeListFile("vname.ini", "");
        writeListFile("vpath.ini", "");
        f.Label5.click();
        t.dropOn({ clip, media("song.mp3") });
        p.app.runUntilIdle();
        EXPECT_EQ(f.liebiao.text(), "视频列表");
        EXPECT_EQ(listFile("vname.ini"), crlf({ ">clip.MKV", ">movie.rmvb" }));
        EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "close", "url " + clip }));
    }
}

TEST_F(PlayerTest, AFileOfNoMediaKindAFolderOrAFifoChangesNothing)
{
    makeMedia({ "a.mp3" });
    drop({ media("a.mp3") });
    const std::string before = listFile("mpath.ini");
    mediaCalls();
    std::filesystem::create_directories(media("album.mp3"));
    // A FIFO named like a video is no medium either (the player would wait on it for ever).
    ASSERT_EQ(mkfifo(media("pipe.mp4").c_str(), 0600), 0);
    for (const std::string& path :
        { makeMedia({ "notes.doc" }), media("album.mp3"), media("noextension"), media("pipe.mp4") }) {
        SCOPED_TRACE(path);
        player().Label4.setCaption("直接拖视频到此处播放");
        player().WebBrowser3.setVisible(true);
        drop({ path });
        EXPECT_EQ(player().Label4.caption(), "不是影音文件");
        // The hint label the play of a.mp3 hid shows the note.
        EXPECT_TRUE(player().Label4.visible());
        EXPECT_FALSE(player().WebBrowser3.visible());
        EXPECT_EQ(listFile("mpath.ini"), before);
        EXPECT_TRUE(mediaCalls().empty());
    }
    // A medium under way plays on in its place; an idle player gives the place to the note.
    for (int state : { runtime::PlayPlaying, runtime::PlayStopped }) {
        player().WindowsMediaPlayer1.setVisible(true);
        player().WindowsMediaPlayer1.reportPlayState(state);
        drop({ media("notes.doc") });
        EXPECT_EQ(player().WindowsMediaPlayer1.visible(), state == runtime::PlayPlaying);
        EXPECT_TRUE(mediaCalls().empty());
    }
}

TEST_F(PlayerTest, AFileInAFolderThatCannotBeListedPlaysWithoutChangingTheList)
{
    for (const std::string& path : { media("missing-folder/a.mp3"), std::string("a.mp3") }) {
        SCOPED_TRACE(path);
        drop({ path });
        EXPECT_EQ(listFile("mpath.ini"), "");
        EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + path });
    }
}
