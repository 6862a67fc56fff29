// The download list window as a person uses it: new downloads from typed addresses, pause,
// resume, moving rows and opening the folder, with the list kept in the profile.
#include <gtest/gtest.h>

#include "downloads/list_window.h"
#include "platform/notices.h"
#include "platform/posix/curl_network.h"
#include "support/fixture_server.h"
#include "support/network_fixture.h"
#include "support/test_program.h"

namespace {

using downloads::xiazai;
using testing_support::FixtureServer;

class ListWindowTest : public ::testing::Test {
protected:
    ListWindowTest()
    {
        p.app.provide<platform::Network>(
            std::make_shared<platform::CurlNetwork>(network_testing::quickOptions()));
    }
    xiazai& list() { return p.app.get<xiazai>(); }
    void add(const std::string& url)
    {
        list().Text4.setText(url);
        list().Command10.click();
    }
    // Lets the downloads run (a virtual second gives the network a real one) until every row
    // is done or failed.
    void settle()
    {
        for (int i = 0; i < 200 && downloads::downloadQueue(p.app).busy(); ++i)
            p.app.advance(100);
    }
    FixtureServer server;
    testing_support::TestProgram p;
};

TEST_F(ListWindowTest, RowCommandsActOnTheirDownload)
{
    const std::string a = FixtureServer::pattern(1, 900000);
    const std::string b = FixtureServer::pattern(2, 300000);
    server.addPage("/a.flv", a, "video/x-flv");
    server.addPage("/b.flv", b, "video/x-flv");
    list().Text1.setText("1"); // one download at a time: the second row waits
    add(server.url("/slowly/16384/20/a.flv"));
    add(server.url("/b.flv"));
    add("ftp://example/c.flv");
    EXPECT_EQ(list().Label4.caption(), "请输入以 http:// 或 https:// 开头的下载地址");
    ASSERT_EQ(list().List1.listCount(), 2);
    p.app.advance(300);
    EXPECT_NE(list().List1.list(0).find("下载中"), std::string::npos) << list().List1.list(0);
    EXPECT_NE(list().List1.list(1).find("等待"), std::string::npos) << list().List1.list(1);

    list().List1.setListIndex(0);
    list().Command1.click();
    EXPECT_NE(list().List1.list(0).find("已暂停"), std::string::npos) << list().List1.list(0);
    list().List1.setListIndex(1);
    list().Command6.click(); // up: b comes first and runs
    EXPECT_EQ(list().List1.listIndex(), 0);
    EXPECT_EQ(list().List1.list(0).rfind("b.flv", 0), 0u) << list().List1.list(0);
    settle();
    EXPECT_NE(list().List1.list(0).find("已完成"), std::string::npos) << list().List1.list(0);
    EXPECT_NE(list().List1.list(1).find("已暂停"), std::string::npos) << list().List1.list(1);

    list().List1.setListIndex(1);
    list().Command2.click();
    settle();
    EXPECT_NE(list().List1.list(1).find("已完成"), std::string::npos) << list().List1.list(1);
    const std::string folder = p.profilePath("Desktop/Zelvora下载区/");
    EXPECT_TRUE(testing_support::readBytes(folder + "a.flv") == a);
    EXPECT_TRUE(testing_support::readBytes(folder + "b.flv") == b);
    list().Command9.click();
    list().Command8.click();
    EXPECT_EQ(p.shell->takeLaunches(),
        std::vector<std::string>({ "reveal " + folder + "a.flv", "open " + folder + "a.flv" }));

    // Removing a finished row asks about the file: "no" keeps it.
    p.dialogs->queueAnswer(platform::AnswerNo);
    list().Command4.click();
    EXPECT_EQ(list().List1.listCount(), 1);
    EXPECT_TRUE(std::filesystem::exists(folder + "a.flv"));
}

TEST_F(ListWindowTest, DownloadsEndingUnseenRaiseANoticeThatOpensTheList)
{
    auto notices = std::make_shared<platform::Notices>();
    p.app.provide<platform::Notices>(notices);
    server.addPage("/a.flv", FixtureServer::pattern(1, 1000), "video/x-flv");
    const auto put = [&](const std::string& path, const std::string& title) {
        downloads::enqueue(p.app,
            { .title = title,
                .url = server.url(path),
                .file = downloads::fileForAddress(p.app, server.url(path)) });
        settle();
    };
    put("/a.flv", "甲");
    put("/status/404", "乙");
    ASSERT_EQ(notices->shown().size(), 2u);
    EXPECT_EQ(notices->shown()[0].title + notices->shown()[0].text, "下载完成甲");
    EXPECT_EQ(notices->shown()[1].title + notices->shown()[1].text, "下载失败乙：服务器拒绝（HTTP 404）");
    EXPECT_FALSE(p.app.isLoaded<xiazai>());
    EXPECT_TRUE(notices->clickLatest());
    EXPECT_TRUE(list().visible());
    // With a window on show the person sees the list change; no notice.
    put("/a.flv", "丙");
    EXPECT_EQ(notices->shown().size(), 2u);
}

} // namespace
