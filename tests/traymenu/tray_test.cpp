#include <gtest/gtest.h>

#include "music/music_window.h"
#include "shell/hub_window.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

namespace {

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override { p.start(); }
    traymenu::Form6& tray() { return p.app.get<traymenu::Form6>(); }
    TestProgram p;
};

} // namespace

TEST_F(TrayTest, MenuShortcutsKeepTheNowPlayingTilesLook)
{
    // Which window each entry shows is the desktop tray case's; here the "正在播放" tile keeps
    // its look through the menu, whatever it was.
    shell::moban& hub = p.app.get<shell::moban>();
    for (bool nowPlayingChosen : { true, false }) {
        hub.Label10.setVisible(true);
        if (nowPlayingChosen)
            hub.Label10.mouseDown({ runtime::LeftButton, 0, 0, 0 });
        else
            hub.Label6.mouseDown({ runtime::LeftButton, 0, 0, 0 });
        tray().onlinevideo.click();
        EXPECT_EQ(hub.Label10.fontBold(), nowPlayingChosen);
        EXPECT_EQ(hub.Label10.foreColor(), nowPlayingChosen ? 0x000000 : 0x808080);
        EXPECT_TRUE(hub.Label7.fontBold());
    }
}

TEST_F(TrayTest, DoubleClickOnTheTrayWindowShowsTheMusicWindow)
{
    p.app.get<shell::moban>().Label7.mouseDown({ runtime::LeftButton, 0, 0, 0 });
    tray().dblClick();
    EXPECT_TRUE(p.app.get<music::Form1>().visible());
}

TEST_F(TrayTest, ExitAnsweredNoKeepsRunning)
{
    const std::string marker = p.env->desktopFolder() + "/bro.cfg";
    writeBytes(marker, "x");
    const std::string ics = p.dataFile("tool/ics.vbs");
    writeBytes(ics, "x");
    p.dialogs->queueAnswer(platform::AnswerNo);
    tray().exitmaun.click();
    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_TRUE(std::filesystem::exists(ics));
    EXPECT_FALSE(p.app.ended());
    ASSERT_EQ(p.dialogs->messages().size(), 1u);
    const auto& asked = p.dialogs->messages()[0].request;
    EXPECT_EQ(asked.text, "您真的要退出播放器吗？");
    EXPECT_EQ(asked.title, "系统提示");
    EXPECT_EQ(asked.buttons, platform::YesNo);
    EXPECT_EQ(asked.icon, platform::Exclamation);
    EXPECT_EQ(asked.defaultButton, platform::DefaultButton2);
}

TEST_F(TrayTest, ExitAnsweredYesCleansUp)
{
    std::vector<std::string> files;
    for (const char* name : { "ics.vbs", "start.bat", "close.bat", "kdjs.bat" }) {
        files.push_back(p.dataFile(std::string("tool/") + name));
        writeBytes(files.back(), "x");
    }
    writeBytes(p.dataFile("tool/wan.db"), "kept");
    p.dialogs->queueAnswer(platform::AnswerYes);
    tray().exitmaun.click();
    for (const auto& f : files)
        EXPECT_FALSE(std::filesystem::exists(f)) << f;
    EXPECT_EQ(readBytes(p.dataFile("tool/wan.db")), "kept");
    EXPECT_EQ(p.tray->calls(), (std::vector<std::string> { "add", "delete" }));
    EXPECT_TRUE(p.host.ended);
}
