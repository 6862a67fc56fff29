// The playlist menu of the tray window, driven as the player pops it up: play, add a file
// or a folder, play modes, copy, open folder, remove, delete with file, clear.
#include <filesystem>

#include "platform/drives.h"
#include "player/player_fixture.h"

using namespace player_testing;

namespace {

// Mounted volumes as a test sets them.
class FakeDrives : public platform::Drives {
public:
    std::vector<platform::Volume> volumes() const override { return list; }
    std::vector<platform::Volume> list;
};

constexpr unsigned long long kMiB = 1024ull * 1024ull;

class MenuTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        p.app.provide<platform::Drives>(drives);
    }
    platform::Volume removable(const std::string& name, unsigned long long total, unsigned long long free)
    {
        const std::string root = (p.dir.path() / name).string();
        std::filesystem::create_directories(root);
        return { root, platform::DriveRemovable, free, total };
    }
    std::shared_ptr<FakeDrives> drives = std::make_shared<FakeDrives>();
};

} // namespace

TEST_F(MenuTest, PlayActsLikeADoubleClickOnEveryList)
{
    makeMedia({ "a.mp3", "t.torrent" });
    showList({ "a.mp3", "t.torrent" });
    player::Form5& f = player();
    tray().play.click();
    EXPECT_EQ(f.Text6.text(), "-1");
    EXPECT_EQ(f.Text3.text(), "lie");
    f.List1.setListIndex(0);
    tray().play.click();
    EXPECT_EQ(f.Text5.text(), "\r\n\r\n\r\n\r\n正在读取影音信息...");
    p.app.runUntilIdle();
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + media("a.mp3") });

    f.List1.setListIndex(1);
    tray().play.click();
    p.app.runUntilIdle();
    EXPECT_NE(page().find("value=\"" + media("t.torrent") + "\""), std::string::npos);

    // In the network list the entry's page opens in the player's browser.
    f.liebiao.setText("网络列表");
    f.List1.setItems({ ">频道" });
    f.List2.setItems({ "http://example/channel" });
    f.WebBrowser3.setVisible(false);
    tray().play.click();
    EXPECT_FALSE(f.WebBrowser3.visible());
    f.List1.setListIndex(0);
    tray().play.click();
    EXPECT_EQ(f.Text4.text(), "http://example/channel");
    EXPECT_TRUE(f.WebBrowser3.visible());
    EXPECT_EQ(f.WebBrowser3.location(), "http://example/channel");
}

TEST_F(MenuTest, AddFileGoesThroughTheAddJob)
{
    const std::string song = makeMedia({ "new.mp3" });
    p.dialogs->queueFile(song);
    tray().addmp3.click();
    ASSERT_EQ(p.dialogs->fileRequests().size(), 1u);
    const platform::OpenFileRequest& asked = p.dialogs->fileRequests()[0];
    EXPECT_EQ(asked.title, "打开文件");
    EXPECT_EQ(asked.initialFolder, p.env->mediaFolder(false));
    ASSERT_EQ(asked.filters.size(), 4u);
    EXPECT_EQ(asked.filters[0].description,
        "歌曲文件(*.mp3;*.WAV;*.MP2;*.OGG;*.M4A;*.AMR;*.MMF;*.AAC;*.FLAC;*.MP3;*.WMA;*.MID;)");
    EXPECT_EQ(asked.filters[2].patterns, "*.QSED;*.TORRENT;*.BSED");
    EXPECT_EQ(asked.filters[3].description, "所有文件(*.*)");
    p.app.runUntilIdle();
    EXPECT_EQ(listFile("mname.ini"), crlf({ ">new.mp3" }));
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + song });

    // Already listed: played at once, nothing added. The dialog starts where the last ended.
    p.dialogs->queueFile(song);
    tray().addmp3.click();
    EXPECT_EQ(p.dialogs->fileRequests().at(1).initialFolder, (p.dir.path() / "media").string());
    EXPECT_FALSE(player().Timer6.enabled());
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "url " + song, "play" }));
    EXPECT_EQ(tray().Text5.text(), "不存在");
}

TEST_F(MenuTest, CancelledAddFileIsMarkedApartFromTheHubPosition)
{
    const std::string left = tray().Text1.text();
    tray().addmp3.click();
    EXPECT_EQ(tray().Text6.text(), "取消");
    EXPECT_EQ(tray().Text1.text(), left);
    // A player opened afterwards still gets a numeric position.
    p.app.unload<player::Form5>();
    EXPECT_EQ(p.app.get<player::Form5>().left(), std::stoi(left));
}

TEST_F(MenuTest, AddFolderHandsItsScanToTheAddJob)
{
    makeMedia({ "album/b.mp3", "album/a.wma", "album/cover.jpg" });
    player::Form5& f = player();
    f.List4.setItems({ ">old result" });
    f.List5.setItems({ "/elsewhere/old.avi" });
    p.dialogs->queueFolder(media("album"));
    tray().addpath.click();
    EXPECT_EQ(p.dialogs->folderRequests(), std::vector<std::string> { "请选择扫描目录" });
    EXPECT_EQ(f.List4.items(), (std::vector<std::string> { "a.wma", "b.mp3" }));
    EXPECT_EQ(f.Text4.text(), media("album/a.wma"));
    p.app.runUntilIdle();
    EXPECT_EQ(listFile("mname.ini"), crlf({ ">a.wma", ">b.mp3" }));

    // Cancelled: nothing happens.
    tray().addpath.click();
    EXPECT_FALSE(f.Timer6.enabled());
    EXPECT_EQ(p.dialogs->folderStarts(), (std::vector<std::string> { p.env->userProfile(), media("album") }));
}

TEST_F(MenuTest, PlayModeItemsWriteTheirWordsUntilTheNextDoubleClick)
{
    struct Row {
        const char* name;
        runtime::Menu traymenu::Form6::*item;
        const char* word;
    };
    const Row rows[] = { { "single", &traymenu::Form6::bodan, "danqu" },
        { "loop", &traymenu::Form6::boxun, "xunhuan" }, { "once", &traymenu::Form6::boshun, "yici" },
        { "list", &traymenu::Form6::bolie, "lie" }, { "random", &traymenu::Form6::bosui, "sui" } };
    for (const Row& r : rows) {
        (tray().*r.item).click();
        EXPECT_EQ(player().Text3.text(), r.word) << r.name;
    }
    showList({ "a.mp3" });
    tray().boxun.click();
    doubleClick(0);
    EXPECT_EQ(player().Text3.text(), "lie");
}

TEST_F(MenuTest, CopyTargetsTheLastRemovableDisk)
{
    makeMedia({ "a.mp3" });
    showList({ "a.mp3", "gone.mp3" });
    player::Form5& f = player();
    f.List1.setListIndex(0);
    tray().copyy.click();
    EXPECT_EQ(f.Text4.text(), "未发现可移动磁盘");

    drives->list = { { (p.dir.path() / "not-mounted").string(), platform::DriveRemovable, 0, 0 } };
    tray().copyy.click();
    EXPECT_EQ(f.Text4.text(), "复制失败，请检查移动设备是否已满或被写保护");

    drives->list = { removable("usb1", 512 * kMiB, 10 * kMiB), { "/", platform::DriveFixed, 0, 0 },
        removable("usb2", 1024 * kMiB, 300 * kMiB) };
    tray().copyy.click();
    EXPECT_EQ(
        f.Text4.text(), "可移动磁盘：总大小1024MB，已使用724MB，未使用300MB，复制成功后，请查看您的移动设备");
    EXPECT_EQ(readBytes(p.dir.path() / "usb2" / "a.mp3"), "data");
    EXPECT_FALSE(std::filesystem::exists(p.dir.path() / "usb1" / "a.mp3"));
    f.List1.setListIndex(1);
    tray().copyy.click();
    EXPECT_EQ(f.Text4.text(), "复制失败，文件不存在");
}

TEST_F(MenuTest, RemovingEntriesRewritesOnlyTheShownPlaylist)
{
    // Music names the code page cannot decode: a Latin-1 byte and a cut UTF-8 sequence.
    const std::string names = ">caf\xe9.mp3\r\n>b.mp3\r\n>\xe4\xb8.mp3\r\n";
    writeListFile("mname.ini", names);
    writeListFile("mpath.ini", "/m/caf\xe9.mp3\r\n/m/b.mp3\r\n/m/\xe4\xb8.mp3\r\n");
    showList({ "v.avi" }, true);
    player::Form5& f = player();
    f.List1.setListIndex(0);
    tray().del.click();
    EXPECT_EQ(listFile("vpath.ini"), "");
    EXPECT_TRUE(std::filesystem::exists(p.dataFile("Temp/vname.ini")));
    EXPECT_EQ(listFile("mname.ini"), names);

    f.Label5.click();
    f.List1.setListIndex(1);
    tray().del.click();
    EXPECT_EQ(listFile("mname.ini"), ">caf\xe9.mp3\r\n>\xe4\xb8.mp3\r\n");
    EXPECT_EQ(listFile("mpath.ini"), "/m/caf\xe9.mp3\r\n/m/\xe4\xb8.mp3\r\n");

    // A playlist file that is gone is not created again.
    std::filesystem::remove(p.dataFile("Temp/mname.ini"));
    f.List1.setListIndex(0);
    tray().del.click();
    EXPECT_FALSE(std::filesystem::exists(p.dataFile("Temp/mname.ini")));
    EXPECT_EQ(listFile("mpath.ini"), "/m/\xe4\xb8.mp3\r\n");
}

TEST_F(MenuTest, RemovingFromABrowsedPictureFolderLeavesThePlaylistFiles)
{
    showList({ "a.mp3" });
    drop({ makeMedia({ "p.jpg", "q.png" }) });
    player::Form5& f = player();
    f.List1.setListIndex(0);
    tray().del.click();
    EXPECT_EQ(f.List1.items(), std::vector<std::string> { ">q.png" });
    EXPECT_EQ(listFile("mname.ini"), crlf({ ">a.mp3" }));
}

TEST_F(MenuTest, DeleteWithFileIsGuarded)
{
    const std::string song = makeMedia({ "a.mp3" });
    showList({ "a.mp3", "gone.mp3" });
    player::Form5& f = player();
    f.List1.setListIndex(0);
    p.dialogs->queueAnswer(platform::AnswerNo);
    tray().delbao.click();
    EXPECT_EQ(p.messages(), std::vector<std::string> { "确定要包括文件一起删除吗？此过程不可逆" });
    EXPECT_TRUE(std::filesystem::exists(song));

    p.dialogs->queueAnswer(platform::AnswerYes);
    tray().delbao.click();
    EXPECT_FALSE(std::filesystem::exists(song));
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "stop" });
    EXPECT_EQ(listFile("mname.ini"), crlf({ ">a.mp3", ">gone.mp3" }));
    p.messages();

    f.List1.setListIndex(1);
    tray().delbao.click();
    EXPECT_EQ(p.messages(), std::vector<std::string> { "删除失败，文件不存在" });
    EXPECT_FALSE(p.app.ended());

    // A pair out of step: the name b.mp3 stands beside the path of c.mp3; neither file goes.
    makeMedia({ "b.mp3", "c.mp3" });
    showList({ "b.mp3", "c.mp3" });
    writeListFile("mpath.ini", crlf({ media("c.mp3"), media("b.mp3") }));
    f.Label5.click();
    f.List1.setListIndex(0);
    tray().delbao.click();
    EXPECT_EQ(
        p.messages(), std::vector<std::string> { "删除失败，列表中的名称与文件名不一致，没有删除任何文件" });
    EXPECT_TRUE(std::filesystem::exists(media("b.mp3")));
    EXPECT_TRUE(std::filesystem::exists(media("c.mp3")));
}

TEST_F(MenuTest, ClearEmptiesBothPlaylistsAfterConfirmation)
{
    showList({ "a.mp3" });
    showList({ "v.avi" }, true);
    player::Form5& f = player();
    p.dialogs->queueAnswer(platform::AnswerNo);
    tray().lieqing.click();
    EXPECT_EQ(p.messages(), std::vector<std::string> { "确定要清空列表吗？本过程不可逆！！！" });
    EXPECT_EQ(f.List1.listCount(), 1);

    p.dialogs->queueAnswer(platform::AnswerYes);
    tray().lieqing.click();
    EXPECT_TRUE(f.List1.items().empty());
    for (const char* name : { "mpath.ini", "mname.ini", "vpath.ini", "vname.ini" }) {
        EXPECT_TRUE(std::filesystem::exists(p.dataFile(std::string("Temp/") + name))) << name;
        EXPECT_EQ(listFile(name), "") << name;
    }
    p.messages();
    tray().lieqing.click();
    EXPECT_EQ(p.messages(), std::vector<std::string> { "列表已经清空，无需再次删除" });
}

TEST_F(MenuTest, FileCommandsActOnlyOnASelectedFile)
{
    makeMedia({ "a.mp3" });
    showList({ "a.mp3" });
    drives->list = { removable("usb", 100 * kMiB, 50 * kMiB) };
    player::Form5& f = player();
    const std::string before = f.Text4.text();
    for (runtime::Menu* item : { &tray().copyy, &tray().lieda, &tray().del, &tray().delbao }) {
        item->click();
        EXPECT_EQ(f.Text4.text(), before) << item->name();
    }
    EXPECT_TRUE(p.shell->takeLaunches().empty());
    f.List1.setListIndex(0);
    tray().lieda.click();
    EXPECT_EQ(p.shell->takeLaunches(), std::vector<std::string> { "reveal " + media("a.mp3") });
    // An address has no folder: nothing is handed to the handler of its scheme.
    f.List2.setItems({ "smb://host/a.mp3" });
    f.List1.setListIndex(0);
    tray().lieda.click();
    EXPECT_TRUE(p.shell->takeLaunches().empty());
    EXPECT_NE(f.Text4.text(), before);
    f.Text4.setText(before);

    f.liebiao.setText("网络列表");
    f.List1.setListIndex(0);
    for (runtime::Menu* item : { &tray().copyy, &tray().lieda, &tray().del, &tray().delbao, &tray().lieqing,
             &tray().addmp3, &tray().addpath })
        item->click();
    EXPECT_EQ(f.List1.listCount(), 1);
    EXPECT_EQ(listFile("mname.ini"), crlf({ ">a.mp3" }));
    EXPECT_TRUE(p.dialogs->messages().empty());
    EXPECT_TRUE(p.dialogs->fileRequests().empty());
    EXPECT_TRUE(p.shell->takeLaunches().empty());
    EXPECT_FALSE(std::filesystem::exists(p.dir.path() / "usb" / "a.mp3"));
}
