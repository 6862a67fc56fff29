#include "video/web_video_fixture.h"

using web_video_testing::WebVideoTest;

namespace {

const char* const kRequired = "地址必须填写，否则不能播放";

} // namespace

class NetworkTabTest : public WebVideoTest {
protected:
    void SetUp() override
    {
        WebVideoTest::SetUp();
        for (int row = 1; row <= 26; ++row)
            p.config->set("channel." + std::to_string(row), server.url("/channel/" + std::to_string(row)));
        p.config->set("channel.8", server.url("/channel/6"));
    }
};

TEST_F(NetworkTabTest, TheChannelTabOpensADoubleClickedChannel)
{
    player::Form5& f = player();
    server.addPage("/channel/3", "<html><body>live</body></html>");
    p.config->set("channel.4", testing_support::FixtureServer::refusedUrl());
    f.Label6.click();
    f.Label6.click();
    ASSERT_EQ(f.List1.listCount(), 26);
    EXPECT_EQ(f.List1.list(25), ">电影提交");
    EXPECT_EQ(f.List2.list(7), f.List2.list(5));
    EXPECT_EQ(f.liebiao.text(), "网络列表");
    for (runtime::Control* c : std::initializer_list<runtime::Control*> {
             &f.Image10, &f.Image11, &f.Image12, &f.Image14, &f.Image15, &f.List6, &f.List7 })
        EXPECT_FALSE(c->visible()) << c->name();

    f.List1.dblClick();
    EXPECT_FALSE(f.WebBrowser3.visible());

    for (int row : { 2, 3 }) {
        f.List1.setListIndex(row);
        f.List1.dblClick();
        EXPECT_EQ(f.Text4.text(), f.List2.list(row));
        EXPECT_EQ(f.WebBrowser3.location(), f.List2.list(row));
        EXPECT_TRUE(f.WebBrowser3.visible());
        // A channel that does not answer leaves an empty page.
        EXPECT_TRUE(platform::settleHeadlessBrowsers(p.app, 5000));
    }
    EXPECT_EQ(f.WebBrowser3.documentText(), "");
}

TEST_F(NetworkTabTest, TheAddressBoxOpensPlaysOrSearchesWhatIsTyped)
{
    // Each row of address_box.tsv: what is typed and what the box does with it.
    player::Form5& f = player();
    for (const auto& c : testing_support::testRows("player/address_box.tsv")) {
        SCOPED_TRACE(c.name);
        const std::string& typed = c.at(0);
        const std::string& outcome = c.at(1);
        SCOPED_TRACE(typed);
        f.Timer2.setEnabled(false);
        worker().Timer1.setEnabled(false);
        f.Text4.setText(typed);
        f.Label14.click();
        EXPECT_EQ(f.Text4.text() == kRequired, outcome == "required");
        EXPECT_EQ(f.Timer2.enabled(), outcome == "local");
        EXPECT_EQ(worker().Timer1.enabled(), outcome == "search");
        if (outcome == "local") {
            EXPECT_EQ(f.Text5.text(), "\r\n\r\n\r\n正在载入搜索结果...");
        }
        if (outcome == "web") {
            EXPECT_EQ(f.WebBrowser3.location(), typed);
        }
        if (outcome == "search") {
            EXPECT_EQ(f.Label4.caption(), "正在搜索网络资源...");
            EXPECT_FALSE(f.WebBrowser3.visible());
            EXPECT_EQ(worker().Text1.text(), "tudou");
        }
    }
    // A click into the box takes away the hint, and only the hint.
    f.Text4.click();
    EXPECT_EQ(f.Text4.text(), "周杰伦 演唱会");
    f.Text4.setText(kRequired);
    f.Text4.click();
    EXPECT_EQ(f.Text4.text(), "");
}

TEST_F(NetworkTabTest, WithoutAConnectionTheSearchDoesNotStart)
{
    sitePage("bdhd", "kw", { "bdhd://old" });
    typeAndPress("kw");
    runSearch();
    ASSERT_EQ(player().List7.listCount(), 1);

    p.config->set("probe", testing_support::FixtureServer::refusedUrl());
    typeAndPress("kw");
    EXPECT_EQ(player().Label4.caption(), "搜索失败，网络已断开");
    EXPECT_FALSE(worker().Timer1.enabled());
    EXPECT_EQ(player().List7.listCount(), 0);
    EXPECT_EQ(worker().dizhi7.listCount(), 0);
}
