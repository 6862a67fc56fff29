#include "resources/resources.h"
#include "support/temp_dir.h"
#include "traymenu/tray_window.h"
#include "video/video_window.h"
#include "video/web_video_fixture.h"

using web_video_testing::linkPage;
using web_video_testing::WebVideoTest;

namespace {

// The player pages as they must reach the browser (kept under tests/data/video, the page
// guard script standing for itself), around an address already escaped.
std::string playerPage(const std::string& name, const std::string& escapedAddress)
{
    std::string page = testing_support::readBytes(testing_support::testData("video/" + name + "_page.html"));
    page.replace(page.find("@GUARD@"), 7, resources::get("player/page_guard.js"));
    return page.replace(page.find("@ADDRESS@"), 9, escapedAddress);
}

} // namespace

class WebPlayTest : public WebVideoTest {
protected:
    // A search whose only results are one video page and the resources given.
    void searchWith(const std::vector<std::string>& baidu, const std::vector<std::string>& qvod)
    {
        sitePage("youku", "kw", { host("youku") + "/v_show/y1" });
        server.addPage(
            "/youku-site/v_show/y1", "<html><body><a href='next.html' target='_blank'>n</a></body></html>");
        sitePage("bdhd", "kw", baidu);
        sitePage("qovd", "kw", qvod);
        typeAndPress("kw");
        ASSERT_EQ(runSearch().back(), "搜索完毕");
    }
    void doubleClick(runtime::ListBox& list, int row)
    {
        list.setListIndex(row);
        list.dblClick();
    }
    // Runs the extraction timer until it has written its page.
    void runExtraction()
    {
        for (int i = 0; i < 50 && web().kuai.enabled(); ++i) {
            ASSERT_TRUE(platform::settleHeadlessBrowsers(p.app, 3000));
            p.app.advance(1);
        }
        ASSERT_FALSE(web().kuai.enabled());
    }
    video::play& web() { return p.app.get<video::play>(); }
    runtime::WebBrowser& trayBrowser() { return p.app.get<traymenu::Form6>().WebBrowser3; }
};

TEST_F(WebPlayTest, AVideoResultPlaysOverTheHub)
{
    searchWith({}, {});
    const std::string page = host("youku") + "/v_show/y1";
    doubleClick(player().List6, 0);
    ASSERT_TRUE(p.app.isLoaded<video::play>());
    video::play& w = web();
    shell::moban& hub = p.app.get<shell::moban>();
    EXPECT_EQ(w.caption(), "视频正在播放中...");
    EXPECT_TRUE(hub.Label10.visible());
    ASSERT_TRUE(platform::settleHeadlessBrowsers(p.app, 3000));

    // A link that targets a new window opens in place.
    dynamic_cast<platform::HeadlessBrowser&>(w.WebBrowser1.engine()).clickLink(0);
    EXPECT_EQ(w.WebBrowser1.location(), host("youku") + "/v_show/next.html");

    w.Command1.click();
    video::Form2& download = p.app.get<video::Form2>();
    EXPECT_EQ(download.Text3.text(), page);
    EXPECT_EQ(download.Command9.caption(), "解析下载");
}

TEST_F(WebPlayTest, QvodResourcesPlayTheirOwnStreamsOneAfterTheOther)
{
    const std::string qv = host("qovd");
    server.addPage("/qovd-site/detail.asp",
        linkPage({ qv + "/list.asp", qv + "/player.asp?url=qvod://one&amp;x",
            qv + "/player.asp?url=qvod://two" }));
    searchWith({}, { qv + "/detail.asp?ID=1", qv + "/detail.asp?ID=2" });
    ASSERT_EQ(player().List7.listCount(), 2);

    doubleClick(player().List7, 0);
    EXPECT_EQ(trayBrowser().location(), qv + "/detail.asp?ID=1");
    EXPECT_FALSE(web().Command1.visible());
    runExtraction();
    EXPECT_EQ(player().Text4.text(), "qvod://one&x");
    EXPECT_EQ(web().WebBrowser1.documentText(), playerPage("qvod", "qvod://one&amp;x"));

    // The second resource's page names another stream first.
    server.addPage("/qovd-site/detail.asp", linkPage({ qv + "/player.asp?url=qvod://three" }));
    doubleClick(player().List7, 1);
    runExtraction();
    EXPECT_EQ(web().List1.items(), (std::vector<std::string> { "qvod://one&x", "qvod://three" }));
    EXPECT_EQ(web().WebBrowser1.documentText(), playerPage("qvod", "qvod://three"));

    // A resource page without a player link plays an empty address.
    server.addPage("/qovd-site/detail.asp", linkPage({ qv + "/PLAYER.ASP?url=qvod://upper" }));
    doubleClick(player().List7, 0);
    runExtraction();
    EXPECT_EQ(web().WebBrowser1.documentText(), playerPage("qvod", ""));
}

TEST_F(WebPlayTest, BaiduResourcesPlayInTheirPlayerPage)
{
    searchWith({ "bdhd://a'b<c>" }, {});
    player().List7.setListIndex(0);
    EXPECT_EQ(player().Text4.text(), "bdhd://a'b<c>");
    player().List7.dblClick();
    EXPECT_EQ(web().WebBrowser1.documentText(), playerPage("baidu", "bdhd://a&#39;b&lt;c&gt;"));

    // A script's request for a window opens its address in place, also in the player's browser.
    for (runtime::WebBrowser* browser : { &web().WebBrowser1, &player().WebBrowser3 }) {
        bool cancel = false;
        browser->newWindowRequested("http://vendor.example/install", cancel);
        EXPECT_TRUE(cancel);
        EXPECT_EQ(browser->location(), "http://vendor.example/install");
    }
}
