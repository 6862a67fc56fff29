#include <gtest/gtest.h>

#include <algorithm>

#include "music/music_window.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "support/fake_network.h"
#include "support/test_program.h"

using testing_support::FakeNetwork;
using testing_support::TestProgram;

namespace {

const std::string kFourLines = "\r\n\r\n\r\n\r\n";

// Each tile: its name, its tip and the message while it starts.
struct TileRow {
    std::string tile, toolTip, message;
};

std::vector<TileRow> tiles()
{
    std::vector<TileRow> out;
    for (const auto& r : testing_support::testRows("music/tiles.tsv"))
        out.push_back({ r.at(0), r.at(2), r.at(3) });
    return out;
}

class MusicWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.config->set("probe", "http://127.0.0.1:9/probe");
        p.app.provide<platform::Network>(net);
        p.start();
        p.app.advance(1);
    }
    music::Form1& w() { return p.app.get<music::Form1>(); }
    runtime::Control& tile(const std::string& name) { return *w().control(name); }
    // Clicks a tile and lets the launcher and the page-ready poll run.
    void launch(const char* name)
    {
        tile(name).click();
        p.app.advance(1);
        p.app.advance(1);
    }

    TestProgram p;
    std::shared_ptr<FakeNetwork> net = std::make_shared<FakeNetwork>();
};

} // namespace

TEST_F(MusicWindowTest, PanelButtonsAnnounceTheirWork)
{
    EXPECT_EQ(w().Text5.text(), kFourLines + "请选择网络播放器...");
    for (const TileRow& r : tiles()) {
        SCOPED_TRACE(r.tile);
        tile(r.tile).click();
        p.app.advance(1); // the launcher
        EXPECT_EQ(w().Text5.text(), kFourLines + r.message);
        p.app.advance(1); // the page-ready poll
    }
    w().Command1.click();
    EXPECT_EQ(p.app.get<shell::Form4>().Label1.caption(), "十秒秒杀所有歌曲？");
}

TEST_F(MusicWindowTest, TilesShowTheirTips)
{
    for (const TileRow& r : tiles()) {
        SCOPED_TRACE(r.tile);
        tile(r.tile).mouseMove({ runtime::NoButton, 0, 5, 5 });
        const bool pressOnly = r.tile == "Image15";
        EXPECT_EQ(tile(r.tile).toolTipText(), pressOnly ? "" : r.toolTip);
        tile(r.tile).mouseDown({ runtime::LeftButton, 0, 5, 5 });
        EXPECT_EQ(tile(r.tile).toolTipText(), r.toolTip);
    }
}

TEST_F(MusicWindowTest, OfflineClickOnlyChangesThePanelText)
{
    for (const bool playing : { false, true }) {
        SCOPED_TRACE(playing ? "during playback" : "before any launch");
        net->online = true;
        if (playing)
            launch("Image3");
        const bool panelBefore = w().Text5.visible();
        const bool browserBefore = w().WebBrowser1.visible();
        const std::string documentBefore = w().WebBrowser1.documentText();
        net->online = false;
        w().Image7.click();
        EXPECT_EQ(w().Text5.text(), kFourLines + "断网了，不能启动播放器...");
        EXPECT_FALSE(w().Timer3.enabled());
        p.app.runUntilIdle();
        EXPECT_EQ(w().Text5.visible(), panelBefore);
        EXPECT_EQ(w().WebBrowser1.visible(), browserBefore);
        EXPECT_EQ(w().WebBrowser1.documentText(), documentBefore);
    }
}

TEST_F(MusicWindowTest, TheServicePageGetsNoContextMenuOnceItsDocumentIsBound)
{
    EXPECT_TRUE(w().WebBrowser1.documentContextMenu());
    launch("Image3");
    w().WebBrowser1.downloadComplete();
    EXPECT_TRUE(w().M_Dom.bound);
    EXPECT_FALSE(w().WebBrowser1.documentContextMenu());
    // The page refuses its own menu as well.
    EXPECT_NE(w().WebBrowser1.documentText().find("oncontextmenu=\"return false;\""), std::string::npos);
}

TEST(UpdaterWindow, WithoutThePromptOnlyTheUpgradeButtonStays)
{
    TestProgram p;
    p.env->setBrowserCacheFolder("/env/cache");
    p.start();
    p.app.advance(1);
    shell::Form4& updater = p.app.get<shell::Form4>();
    EXPECT_EQ(updater.Label1.caption(), "升级进程准备就绪...");
    EXPECT_TRUE(updater.Command1.visible());
    EXPECT_FALSE(updater.Command3.visible());
    // No configured cache folder: the environment's.
    EXPECT_EQ(updater.Text1.text(), "/env/cache");
}
