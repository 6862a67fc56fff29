// Playback: the dispatcher's choice between the media player and generated pages, the
// pages themselves, the page finisher, the flash player's first fetch and the layouts.
#include <filesystem>

#include "common/file_download.h"
#include "platform/config.h"
#include "platform/posix/curl_network.h"
#include "player_fixture.h"
#include "runtime/vbtext.h"
#include "support/fixture_server.h"

using namespace player_testing;

TEST_F(PlayerTest, DispatcherSendsEachKindOfAddressWhereItPlays)
{
    // Each row of dispatch.tsv: an address, the media player's calls and what shows it.
    player::Form5& f = player();
    for (const auto& row : testing_support::testRows("player/dispatch.tsv")) {
        SCOPED_TRACE(row.name);
        const std::string& address = row.at(0);
        const std::string& shown = row.at(2);
        f.WebBrowser3.write("previous page");
        browserCalls();
        f.Text5.setVisible(true);
        dispatch(address);
        EXPECT_EQ(mediaCalls(), parts(row.at(1)));
        EXPECT_FALSE(f.Text5.visible());
        if (shown == "media") {
            EXPECT_TRUE(f.WindowsMediaPlayer1.visible());
            EXPECT_FALSE(f.WebBrowser3.visible());
        } else if (shown == "qvod" || shown == "baidu") {
            EXPECT_FALSE(f.WindowsMediaPlayer1.visible());
            EXPECT_TRUE(f.WebBrowser3.visible());
            EXPECT_TRUE(f.WebBrowser3.silent());
            EXPECT_TRUE(holds(page(),
                shown == "qvod" ? "F3D0D36F-23F8-4682-A195-74C92B03D4AF"
                                : "02E2D748-67F8-48B4-8AB4-0A085374BB99"));
            EXPECT_TRUE(holds(page(), "name=\"URL\" value=\"" + address + "\""));
            EXPECT_EQ(f.WebBrowser3.bodyScroll(), "no");
        } else if (shown == "empty") {
            EXPECT_TRUE(f.WebBrowser3.visible());
            EXPECT_EQ(page(), "");
        } else if (shown == "browser") {
            EXPECT_TRUE(f.WebBrowser3.visible());
            EXPECT_EQ(f.WebBrowser3.location(), address);
        } else {
            EXPECT_EQ(f.liebiao.text(), "视频列表");
            EXPECT_TRUE(holds(page(), "name=\"URL\" value=\"/m/seed.torrent\""));
        }
    }
}

TEST_F(PlayerTest, PageFinisherWaitsForTheBrowser)
{
    // A browser that stays busy until told otherwise.
    struct SlowEngine : runtime::RecordingBrowserEngine {
        bool busy() const override { return *loading; }
        std::shared_ptr<bool> loading = std::make_shared<bool>(true);
    };
    auto engine = std::make_unique<SlowEngine>();
    const std::shared_ptr<bool> loading = engine->loading;
    player::Form5& f = player();
    f.WebBrowser3.setEngine(std::move(engine));
    f.Picture6.setEnabled(true);
    f.Picture6.click();
    f.Text4.setText("qvod://abc");
    f.Timer2.start(1);
    p.app.advance(50);
    EXPECT_TRUE(f.WebBrowser3.bodyScroll().empty());
    *loading = false;
    p.app.runUntilIdle();
    EXPECT_EQ(f.WebBrowser3.bodyScroll(), "no");
    EXPECT_EQ(f.WebBrowser3.left(), 1);
}

TEST_F(PlayerTest, LayoutSwitchSwapsTheListPanelForTheVideo)
{
    player::Form5& f = player();
    const std::initializer_list<runtime::Control*> panel { &f.List1, &f.Label5, &f.Label6, &f.Label7,
        &f.Image10, &f.Image11, &f.Image12, &f.Image14, &f.Image15, &f.Picture6 };
    for (bool wide : { true, false }) {
        SCOPED_TRACE(wide ? "wide" : "normal");
        (wide ? f.Picture6 : f.Picture5).click();
        for (runtime::Control* c : panel)
            EXPECT_EQ(c->visible(), !wide) << c->name();
        EXPECT_EQ(f.Picture5.visible(), wide);
        EXPECT_EQ(f.WindowsMediaPlayer1.left(), wide ? 0 : 201);
        EXPECT_EQ(f.Text4.width(), wide ? 929 : 729);
    }
}

TEST_F(PlayerTest, NewWindowsOpenInThePlayersOwnBrowser)
{
    struct LinkEngine : runtime::RecordingBrowserEngine {
        std::string activeElementHref() const override { return "http://example/next"; }
    };
    player::Form5& f = player();
    f.WebBrowser3.setEngine(std::make_unique<LinkEngine>());
    bool cancel = false;
    f.WebBrowser3.newWindowRequested("http://example/popup", cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(f.WebBrowser3.location(), "http://example/next");
}

TEST_F(PlayerTest, DecoderHintLeadsToTheInstaller)
{
    p.config->set("update_server", "http://127.0.0.1:9");
    player::Form5& f = player();
    // The button and the search box's close mark show pictures, not blank squares.
    EXPECT_FALSE(f.Image16.picture().empty());
    EXPECT_FALSE(f.Picture1.picture().empty());
    f.Image16.click();
    EXPECT_EQ(p.shell->takeLaunches(), std::vector<std::string> { "open http://127.0.0.1:9/decoder.exe" });
    f.Image10.click();
    EXPECT_FALSE(f.Label10.visible());
    EXPECT_FALSE(f.Image16.visible());
}

TEST_F(PlayerTest, ProgressBarStaysWithinTheAnnouncedLength)
{
    // Each row of progress.tsv: the bytes received and announced, the percent and the marks.
    player::Form5& f = player();
    for (const auto& r : testing_support::testRows("player/progress.tsv")) {
        SCOPED_TRACE(r.name);
        f.oDownload_OnProgress(std::stoll(r.at(0)), std::stoll(r.at(1)), 0, 5, "");
        EXPECT_EQ(f.Label9.caption(), r.at(2));
        EXPECT_EQ(vb::Len(f.Label4.caption()), std::stoi(r.at(3)));
    }
    // Reports without a length or without data leave the bar alone.
    f.oDownload_OnProgress(0, 100, 0, 5, "");
    f.oDownload_OnProgress(100, 0, 0, 5, "");
    EXPECT_EQ(vb::Len(f.Label4.caption()), 37);
}

class FlashPlayerTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        p.app.provide<platform::Network>(std::make_shared<platform::CurlNetwork>());
        server.addPage("/zelv.swf", std::string(5000, 'F'), "application/x-shockwave-flash");
        p.config->set("update_server", server.url(""));
    }
    std::string swf() const { return p.dataFile("Temp/zelv.swf"); }
    testing_support::FixtureServer server;
};

TEST_F(FlashPlayerTest, FirstFlvPlaysThroughTheFetchedFlashPage)
{
    // An answer too large for a player file is refused, and the next flv tries again.
    server.addPage(
        "/zelv.swf", std::string(common::kOwnDownloadBytes + 1, 'F'), "application/x-shockwave-flash");
    player().WebBrowser3.write("before");
    dispatch("/m/clip.flv");
    EXPECT_EQ(p.messages(), std::vector<std::string> { "初始化失败，请检查是否连接网络" });
    EXPECT_FALSE(std::filesystem::exists(swf()));
    EXPECT_EQ(page(), "before");
    for (const auto& e : std::filesystem::directory_iterator(p.dataFile("Temp")))
        EXPECT_NE(e.path().filename().string()[0], '.') << e.path();

    mediaCalls();
    server.addPage("/zelv.swf", std::string(5000, 'F'), "application/x-shockwave-flash");
    dispatch("/m/clip & more.flv");
    EXPECT_EQ(p.messages(), std::vector<std::string> { "初始化成功!" });
    EXPECT_EQ(p.dialogs->messages().back().request.icon, platform::Information);
    EXPECT_EQ(testing_support::readBytes(swf()), std::string(5000, 'F'));
    player::Form5& f = player();
    for (runtime::Label* l : { &f.Label8, &f.Label9, &f.Label4 })
        EXPECT_FALSE(l->visible());

    std::string folder = p.dataFile("Temp");
    folder.erase(0, 1);
    const std::string movie
        = "file:///" + folder + "/zelv.swf?vcastr_file=/m/clip %26 more.flv&amp;IsAutoPlay=1";
    EXPECT_TRUE(holds(page(), "<param name=\"movie\" value=\"" + movie + "\">"));
    EXPECT_TRUE(holds(page(), "<embed src=\"" + movie + "\""));
    EXPECT_TRUE(holds(page(), "D27CDB6E-AE6D-11cf-96B8-444553540000"));
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "close" });

    dispatch("/m/second.flv");
    EXPECT_TRUE(p.messages().empty());
    EXPECT_EQ(server.hits("/zelv.swf"), 2);
    EXPECT_TRUE(holds(page(), "vcastr_file=/m/second.flv"));
}
