#include <chrono>
#include <thread>

#include "platform/headless_browser.h"
#include "platform/headless_url.h"
#include "platform/listing.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"
#include "support/network_fixture.h"

using namespace network_testing;
using platform_testing::hrefs;
using testing_support::FixtureServer;

namespace {

// A window with a hidden browser that opens new-window requests in place, as the windows do.
class Page : public runtime::Form {
public:
    explicit Page(runtime::App& app)
        : runtime::Form(app, "Page")
    {
        WebBrowser1.onNewWindow
            = [this](const std::string& url, bool& cancel) { WebBrowser1_NewWindow2(url, cancel); };
        WebBrowser1.onDocumentComplete = [this](const std::string& url) { completed.push_back(url); };
    }
    void WebBrowser1_NewWindow2(const std::string& url, bool& cancel)
    {
        requested.push_back(url);
        cancel = true;
        WebBrowser1.navigate(WebBrowser1.activeElementHref());
    }
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    std::vector<std::string> completed;
    std::vector<std::string> requested;
};

} // namespace

class HeadlessBrowserTest : public NetworkTest {
protected:
    HeadlessBrowserTest()
    {
        app.setBrowserFactory(platform::headlessBrowserFactory(
            app, std::make_shared<platform::CurlNetwork>(quickOptions()), "GBK"));
        server.addPage("/dir/list.html",
            "<html><body><a href='a.html'>A</a><img src='../i.png'><a href='/b.html' target='_blank'>B</a>"
            "<a href='http://elsewhere.example/c'>C</a></body></html>");
    }
    // Lets the pages load and hands them to the window.
    void settle() { ASSERT_TRUE(platform::settleHeadlessBrowsers(app, 5000)); }
    platform::HeadlessBrowser& engine()
    {
        return dynamic_cast<platform::HeadlessBrowser&>(browser().engine());
    }
    runtime::WebBrowser& browser() { return app.get<Page>().WebBrowser1; }

    runtime::App app;
};

TEST_F(HeadlessBrowserTest, BusyLastsUntilTheDocumentIsHandedOver)
{
    browser().navigate(server.url("/dir/list.html"));
    EXPECT_TRUE(browser().busy());
    EXPECT_TRUE(browser().links().empty());
    settle();
    EXPECT_FALSE(browser().busy());
    EXPECT_EQ(hrefs(browser().linksAndImages()),
        (std::vector<std::string> { server.url("/dir/a.html"), server.url("/i.png"), server.url("/b.html"),
            "http://elsewhere.example/c" }));
    EXPECT_EQ(app.get<Page>().completed, std::vector<std::string> { server.url("/dir/list.html") });

    // about:blank is an empty document at once; the load it interrupts never completes.
    browser().navigate(server.url("/dir/list.html"));
    browser().navigate("about:blank");
    EXPECT_FALSE(browser().busy());
    EXPECT_TRUE(browser().links().empty());
    settle();
    EXPECT_EQ(browser().location(), "about:blank");
    EXPECT_EQ(app.get<Page>().completed,
        (std::vector<std::string> { server.url("/dir/list.html"), "about:blank" }));
}

TEST_F(HeadlessBrowserTest, PagesThatDoNotArriveLeaveAnEmptyDocument)
{
    // The network's failures have their own table; here a refused, an unknown scheme and a
    // page over the size limit.
    for (const std::string& address :
        { FixtureServer::refusedUrl(), std::string("qvod://resource"), server.url("/bytes/104857600") }) {
        browser().navigate(server.url("/dir/list.html"));
        settle();
        browser().navigate(address);
        settle();
        EXPECT_FALSE(browser().busy()) << address;
        EXPECT_EQ(browser().documentText(), "") << address;
    }
}

// A load still under way when the page is stopped or written must not replace what is shown
// when it arrives late.
TEST_F(HeadlessBrowserTest, ALoadInFlightLosesToLaterCommands)
{
    const std::string written = "<body scroll=no><a href='w.html'>w</a></body>";
    browser().navigate(server.url("/dir/list.html"));
    settle();
    const std::string shown = browser().documentText();
    for (const bool write : { false, true }) {
        const int asked = server.hits("/slow/100");
        browser().navigate(server.url("/slow/100"));
        // The stop comes at once, while the load is still queued as a rule; the write once the
        // request is out, when only the load's generation keeps its page from the window.
        for (int i = 0; write && server.hits("/slow/100") == asked && i < 3000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        write ? browser().write(written) : browser().stop();
        EXPECT_FALSE(browser().busy());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        app.runPosted();
        EXPECT_EQ(browser().documentText(), write ? written : shown);
    }
    EXPECT_EQ(browser().bodyScroll(), "no");
}

TEST_F(HeadlessBrowserTest, ALinkToANewWindowIsRaisedToTheWindowWhichOpensItInPlace)
{
    browser().navigate(server.url("/dir/list.html"));
    settle();
    ASSERT_TRUE(engine().clickLink(1));
    EXPECT_EQ(app.get<Page>().requested, std::vector<std::string> { server.url("/b.html") });
    EXPECT_EQ(browser().location(), server.url("/b.html"));
    // A link without a target navigates the browser itself.
    browser().navigate(server.url("/dir/list.html"));
    settle();
    ASSERT_TRUE(engine().clickLink(0));
    EXPECT_EQ(browser().location(), server.url("/dir/a.html"));
    EXPECT_EQ(app.get<Page>().requested.size(), 1u);
    EXPECT_FALSE(engine().clickLink(99));
}

TEST_F(HeadlessBrowserTest, EveryKindOfAddressLoads)
{
    // Addresses resolve against the address reached after redirects.
    browser().navigate(server.url("/redirect/2?to=/dir/list.html").substr(7));
    settle();
    EXPECT_EQ(browser().location(), server.url("/dir/list.html"));
    EXPECT_EQ(browser().links().at(0).href, server.url("/dir/a.html"));
    testing_support::writeBytes(
        dir.path() / "local page.html", "<a href='../up.html'>u</a><img src='p.jpg'>");
    const std::string local = (dir.path() / "local page.html").string();
    browser().navigate(local);
    settle();
    EXPECT_EQ(browser().location(), local);
    EXPECT_EQ(hrefs(browser().links()),
        std::vector<std::string> { platform::fileAddress((dir.path().parent_path() / "up.html").string()) });
    browser().navigate(platform::fileAddress(local));
    settle();
    EXPECT_EQ(browser().links().size(), 1u);
}

TEST_F(HeadlessBrowserTest, AWindowMayGoAwayWhileItsPageLoads)
{
    browser().navigate(server.url("/throttle/100000/1000/50"));
    app.unload<Page>();
    EXPECT_TRUE(platform::settleHeadlessBrowsers(app, 2000));
    browser().navigate(server.url("/dir/list.html"));
    settle();
    EXPECT_EQ(browser().links().size(), 3u);
}
