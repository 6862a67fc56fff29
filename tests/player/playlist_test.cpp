// The shown list: loading the playlist files, switching tabs, selection and the search
// within the list.
#include <filesystem>

#include "platform/decoders.h"
#include "player/playlist_files.h"
#include "player_fixture.h"

using namespace player_testing;

namespace {

// A media framework whose decoders lack the formats given.
struct FakeDecoders : platform::Decoders {
    std::vector<std::string> lacking;
    std::vector<std::string> missing() override { return lacking; }
};

} // namespace

TEST(PlayerStart, DecoderHintShowsOnlyWithoutDecoders)
{
    // Each row of decoder_hint.tsv: whether the companion check program is there, the decoders
    // the framework lacks ("no service" without a framework), and whether the hint shows.
    for (const auto& row : testing_support::testRows("player/decoder_hint.tsv")) {
        SCOPED_TRACE(row.name);
        const bool companion = row[0] == "companion";
        const bool framework = row[1] != "no service";
        testing_support::TestProgram p;
        if (companion)
            testing_support::writeBytes(p.env->programFolder() + "/check.exe", "MZ");
        auto decoders = std::make_shared<FakeDecoders>();
        if (framework) {
            decoders->lacking = parts(row[1]);
            p.app.provide<platform::Decoders>(decoders);
        }
        p.start();
        // The companion check program, when present, is started hidden.
        const std::string check = "start " + p.env->programFolder() + "/check.exe style=0";
        EXPECT_EQ(p.shell->launches(),
            companion ? std::vector<std::string> { check } : std::vector<std::string> {});
        player::Form5& f = p.app.get<player::Form5>();
        EXPECT_EQ(f.Label10.visible(), row.at(2) == "hint");
        // A medium the framework cannot decode names the decoder it lacks.
        decoders->lacking = { "MP3", "Vorbis" };
        f.WindowsMediaPlayer1.setUrl("/music/a.ogg");
        f.WindowsMediaPlayer1.reportUndecodable();
        p.app.runUntilIdle();
        EXPECT_NE(f.Text5.text().find(framework ? "无法播放此文件：缺少 Vorbis 解码器" : "无法播放此文件"),
            std::string::npos);
        // With every decoder there, the engine's reason says why.
        decoders->lacking.clear();
        f.WindowsMediaPlayer1.reportUndecodable("无法识别的文件格式");
        p.app.runUntilIdle();
        EXPECT_NE(f.Text5.text().find("无法播放此文件：无法识别的文件格式"), std::string::npos);
    }
}

TEST(PlayerStart, PlaylistFilesLoadAsTheyAreWhateverTheirShape)
{
    // Each row of playlist_shapes.tsv, named by its shape: the names and paths files, and the names and
    // paths shown.
    auto rows = testing_support::testRows("player/playlist_shapes.tsv", true);
    const std::string longName = ">" + std::string(100000, 'x');
    rows.push_back({ { longName + "\r\n", "/m/x\r\n", longName, "/m/x" }, "a_line_of_100000_characters" });
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::TestProgram p;
        testing_support::writeBytes(p.dataFile("Temp/mname.ini"), r.at(0));
        testing_support::writeBytes(p.dataFile("Temp/mpath.ini"), r.at(1));
        p.start();
        player::Form5& f = p.app.get<player::Form5>();
        EXPECT_EQ(f.List1.items(), parts(r.at(2)));
        EXPECT_EQ(f.List2.items(), parts(r.at(3)));
        // Nothing rewrites the files by loading them.
        EXPECT_EQ(testing_support::readBytes(p.dataFile("Temp/mname.ini")), r[0]);
    }
}

TEST_F(PlayerTest, SelectingShowsTheNameWithoutItsMarker)
{
    showList({ "歌曲.mp3" });
    player::Form5& f = player();
    f.List1.setListIndex(0);
    EXPECT_EQ(f.Text4.text(), "歌曲.mp3    双击播放");
    EXPECT_TRUE(f.Picture6.enabled());

    // In the network list the selection shows the page address.
    f.liebiao.setText("网络列表");
    f.List1.setListIndex(-1);
    f.List1.setListIndex(0);
    EXPECT_EQ(f.Text4.text(), media("歌曲.mp3") + "    双击播放");
}

TEST_F(PlayerTest, ListButtonsPopUpTheTrayWindowsMenus)
{
    player::Form5& f = player();
    f.List1.mouseDown({ runtime::LeftButton, 0, 0, 0 });
    f.List1.mouseDown({ runtime::RightButton, 0, 0, 0 });
    f.Image15.mouseDown({ runtime::LeftButton, 0, 0, 0 });
    f.Image12.mouseDown({ runtime::LeftButton, 0, 0, 0 });
    EXPECT_EQ(p.host.popups, (std::vector<std::string> { "Form6.liemenu", "Form6.mp3", "Form6.lieb" }));
}

TEST_F(PlayerTest, SearchFiltersTheShownListCaseSensitively)
{
    player::Form5& f = player();
    f.Image14.click();
    EXPECT_EQ(p.messages(), std::vector<std::string> { "列表已经清空，无法进行搜索" });
    EXPECT_FALSE(f.Text2.visible());

    showList({ "Love.mp3", "love.mp3", "爱情.mp3", "其他.wma", "周杰伦 - 晴天.mp3", "周杰倫-七里香.mp3",
        "绿光.mp3", "重来.mp3", "Ten Years.mp3" });
    f.Image14.click();
    EXPECT_EQ(f.List1.height(), 510);

    // Each row of search.tsv: what is typed and the names found (Latin letters as typed,
    // Chinese names also by pinyin, initials and either form of their characters).
    for (const auto& r : testing_support::testRows("player/search.tsv")) {
        SCOPED_TRACE(r.name);
        f.Text2.setText(r[0]);
        std::vector<std::string> paths;
        for (const auto& name : parts(r.at(1)))
            paths.push_back(media(name));
        EXPECT_EQ(f.List5.items(), paths);
        EXPECT_TRUE(f.List4.visible());
    }
    // A name changed while the search is open is found by its new pinyin, not its old one.
    f.List1.setList(2, "青花瓷.mp3");
    f.Text2.setText("qhc");
    EXPECT_EQ(f.List4.items(), std::vector<std::string> { "青花瓷.mp3" });
    f.Text2.setText("aiq");
    EXPECT_TRUE(f.List4.items().empty());
    // The results shrink when the pointer goes over the video and grow when pressed.
    f.WindowsMediaPlayer1.mouseMove({});
    EXPECT_EQ(f.List4.height(), 1);
    f.List4.mouseDown({ runtime::LeftButton, 0, 0, 0 });
    EXPECT_EQ(f.List4.height(), 480);
    f.Text2.setText("");
    EXPECT_FALSE(f.List4.visible());

    f.Picture1.click();
    EXPECT_FALSE(f.Text2.visible());
    EXPECT_EQ(f.List1.height(), 530);
}

TEST(PlaylistFiles, RewriteWritesOneLinePerName)
{
    testing_support::TestProgram p;
    p.start();
    player::ensurePlaylistFiles(p.app, player::Playlist::Video);
    ASSERT_TRUE(
        player::rewritePlaylist(p.app, player::Playlist::Video, { ">a", ">b", ">c" }, { "/a", "/b" }));
    EXPECT_EQ(testing_support::readBytes(p.dataFile("Temp/vname.ini")), ">a\r\n>b\r\n>c\r\n");
    EXPECT_EQ(testing_support::readBytes(p.dataFile("Temp/vpath.ini")), "/a\r\n/b\r\n\r\n");
    ASSERT_TRUE(player::rewritePlaylist(p.app, player::Playlist::Video, { ">a" }, { "/a", "/b" }));
    EXPECT_EQ(testing_support::readBytes(p.dataFile("Temp/vpath.ini")), "/a\r\n");
    // No temporary files are left beside the playlists.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(p.dataFile("Temp")))
        ++entries;
    EXPECT_EQ(entries, 2);
}
