#include <gtest/gtest.h>

#include <algorithm>

#include "music/music_window.h"
#include "music/page_store.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "support/fake_network.h"
#include "support/test_program.h"

using testing_support::FakeNetwork;
using testing_support::TestProgram;

namespace {

const std::string kFourLines = "\r\n\r\n\r\n\r\n";

// Each tile: its name, the page it shows, its tip and the message while it starts.
struct TileRow {
    std::string tile, page, toolTip, message;
};

std::vector<TileRow> tiles()
{
    std::vector<TileRow> out;
    for (const auto& r : testing_support::testRows("music/tiles.tsv"))
        out.push_back({ r.at(0), r.at(1), r.at(2), r.at(3) });
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
    std::string page(const std::string& label) { return p.app.get<music::music>().control(label)->caption(); }
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

TEST_F(MusicWindowTest, FirstOpenShowsThePromptOverAHiddenBrowser)
{
    // The poll finished on the blank page without removing the panel.
    EXPECT_TRUE(w().Text5.visible());
    EXPECT_EQ(w().Text5.text(), kFourLines + "请选择网络播放器...");
    EXPECT_FALSE(w().WebBrowser1.visible());
    EXPECT_EQ(w().WebBrowser1.location(), "about:blank");
    EXPECT_FALSE(p.app.isLoaded<music::music>());
}

TEST_F(MusicWindowTest, EveryTileStartsItsServiceAfterTheConnectionTest)
{
    for (const TileRow& r : tiles()) {
        SCOPED_TRACE(r.tile);
        w().WebBrowser1.log().take();
        tile(r.tile).click();
        EXPECT_EQ(net->probes.back(), "http://127.0.0.1:9/probe");
        EXPECT_EQ(w().qiemusic.text(), page(r.page));
        EXPECT_EQ(w().qiemusic1.text(), r.message);

        p.app.advance(1); // the launcher
        EXPECT_TRUE(w().WebBrowser1.visible());
        EXPECT_TRUE(w().Text5.visible());
        EXPECT_EQ(w().Text5.text(), kFourLines + r.message);
        EXPECT_EQ(w().WebBrowser1.documentText(), page(r.page));
        EXPECT_EQ(w().WebBrowser1.log().take().front(), "reload");

        p.app.advance(1); // the page-ready poll
        EXPECT_FALSE(w().Text5.visible());
        EXPECT_EQ(w().WebBrowser1.bodyScroll(), "no");
    }
    EXPECT_EQ(net->probes.size(), 12u);
}

TEST_F(MusicWindowTest, TilesShowTheirTipsAndTheDoubanTileOnlyOnAPress)
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

TEST_F(MusicWindowTest, HarvestPromptRoundTrip)
{
    p.config->set("browser_cache", "/cache/folder");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "updater loaded at start-up" : "updater loaded by the button");
        EXPECT_EQ(p.app.isLoaded<shell::Form4>(), round == 0);
        w().Command1.click();
        shell::Form4& updater = p.app.get<shell::Form4>();
        EXPECT_FALSE(w().Command1.enabled());
        EXPECT_TRUE(updater.modal());
        EXPECT_EQ(updater.Label1.caption(), "十秒秒杀所有歌曲？");
        // The updater's start-up check keeps the harvest buttons for the prompt.
        p.app.advance(5);
        EXPECT_FALSE(updater.Command1.visible());
        EXPECT_TRUE(updater.Command3.visible());
        if (round == 1) {
            EXPECT_EQ(updater.Text1.text(), "/cache/folder");
        }
        updater.Command3.click();
        EXPECT_TRUE(w().Command1.enabled());
        EXPECT_FALSE(p.app.isLoaded<shell::Form4>());
    }
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
