// Browsers: Qt WebEngine starts only for a page a person sees, hidden windows read pages with
// the headless engine, and a page moves into Qt WebEngine when its window is shown.
#include <QUrl>

#include "desktop_fixture.h"
#include "gui/browser_engine.h"
#include "gui/engine_views.h"
#include "gui/form_view.h"
#include "test_windows.h"

namespace gui_testing {
namespace {

const char* const kPage = "<html><body><a href='/one'>一</a><img src='pic.png'><a "
                          "href='http://127.0.0.1:9/two'>二</a></body></html>";

class DesktopBrowser : public DesktopTest {
protected:
    Sample& s = app().get<Sample>();
    std::vector<std::string> completed;
    void SetUp() override
    {
        s.WebBrowser1.onDocumentComplete = [this](const std::string& url) { completed.push_back(url); };
    }
    gui::DesktopBrowserEngine* engine()
    {
        return s.WebBrowser1.hasEngine() ? dynamic_cast<gui::DesktopBrowserEngine*>(&s.WebBrowser1.engine())
                                         : nullptr;
    }
    bool loaded() { return !s.WebBrowser1.busy() && !completed.empty(); }
};

TEST_F(DesktopBrowser, APageReadWhileHiddenMovesIntoWebEngineWhenShown)
{
    session().run([&] {
        s.WebBrowser1.setSilent(true);
        s.WebBrowser1.write(kPage);
    });
    ASSERT_TRUE(waitFor([&] { return !s.WebBrowser1.busy(); }));
    gui::DesktopBrowserEngine* browser = engine();
    ASSERT_NE(browser, nullptr);
    EXPECT_FALSE(browser->showsPages());
    completed.clear();
    session().run([&] { s.show(); });
    ASSERT_TRUE(browser->showsPages());
    ASSERT_TRUE(waitFor([&] { return loaded(); }, 20000));
    EXPECT_EQ(gui::DesktopBrowserEngine::livePages(), 1);
    // The page fills the browser's area.
    auto* area = dynamic_cast<gui::BrowserView*>(view(s)->viewOf(s.WebBrowser1));
    ASSERT_NE(area, nullptr);
    const QWidget* hosted = area->hosted();
    ASSERT_NE(hosted, nullptr);
    EXPECT_EQ(hosted->size(), widget(s.WebBrowser1)->size());
    // A written document stays at the blank address; its links are read in order.
    EXPECT_EQ(s.WebBrowser1.location(), "about:blank");
    const auto links = s.WebBrowser1.links();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].text, "一");
    EXPECT_EQ(links[1].href, "http://127.0.0.1:9/two");
    EXPECT_EQ(s.WebBrowser1.linksAndImages().size(), 3u);
    // Closing the window frees its page.
    session().run([&] { app().unload<Sample>(); });
    settle();
    EXPECT_EQ(gui::DesktopBrowserEngine::livePages(), 0);
}

TEST_F(DesktopBrowser, PageRequestsReachTheWindow)
{
    std::vector<std::string> navigations, newWindows;
    s.WebBrowser1.onBeforeNavigate = [&](const std::string& url) { navigations.push_back(url); };
    s.WebBrowser1.onNewWindow = [&](const std::string& url, bool& cancel) {
        newWindows.push_back(url);
        cancel = true; // the window takes the address over itself
    };
    const std::string file = dir.file("页面.html");
    testing_support::writeBytes(file,
        "<html><body><a "
        "href='x.html'>x</a><script>window.open('http://127.0.0.1:9/new')</script></body></html>");
    session().run([&] {
        s.show();
        s.WebBrowser1.navigate(file);
    });
    ASSERT_TRUE(waitFor([&] { return loaded() && !newWindows.empty(); }, 20000));
    ASSERT_EQ(navigations.size(), 1u);
    EXPECT_EQ(QUrl(QString::fromStdString(navigations[0])).toLocalFile().toStdString(), file);
    EXPECT_EQ(newWindows, (std::vector<std::string> { "http://127.0.0.1:9/new" }));
    // The element that asked for the window is what the window reads next.
    EXPECT_EQ(s.WebBrowser1.activeElementHref(), "http://127.0.0.1:9/new");
    // A link's address is absolute, resolved against the page's own.
    ASSERT_EQ(s.WebBrowser1.links().size(), 1u);
    EXPECT_EQ(
        QUrl(QString::fromStdString(s.WebBrowser1.links()[0].href)).fileName(), QStringLiteral("x.html"));
    // Writing a document is not a navigation.
    completed.clear();
    session().run([&] { s.WebBrowser1.write(kPage); });
    ASSERT_TRUE(waitFor([&] { return loaded(); }, 20000));
    EXPECT_EQ(navigations.size(), 1u);
}

} // namespace
} // namespace gui_testing
