#pragma once
// The engine behind every web browser control of the desktop program. A browser that a
// person sees shows its pages in Qt WebEngine, started at its first real page; a browser of
// a hidden window reads its pages with the headless engine.
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "runtime/engines.h"

class QWidget;

namespace runtime {
class WebBrowser;
}

namespace gui {

class Session;
class WebPage;

class DesktopBrowserEngine : public runtime::BrowserEngine {
public:
    // `headless` makes the engine used for hidden windows (the app's earlier factory).
    DesktopBrowserEngine(Session& session, runtime::WebBrowser& browser,
        std::function<std::unique_ptr<runtime::BrowserEngine>()> headless);
    ~DesktopBrowserEngine() override;

    void navigate(const std::string& url) override;
    void write(const std::string& html) override;
    void reload(const std::string& argument) override;
    void refresh() override;
    void stop() override;
    [[nodiscard]] bool busy() const override;
    void setSilent(bool silent) override;
    void setBodyScroll(const std::string& value) override;
    [[nodiscard]] std::string bodyScroll() const override;
    [[nodiscard]] std::string location() const override;
    [[nodiscard]] std::string documentText() const override;
    [[nodiscard]] std::vector<runtime::BrowserLink> links() const override;
    [[nodiscard]] std::vector<runtime::BrowserLink> images() const override;
    [[nodiscard]] std::vector<runtime::BrowserLink> linksAndImages() const override;
    [[nodiscard]] std::string activeElementHref() const override;

    // The widget showing the page, or nullptr while the page is not in Qt WebEngine.
    [[nodiscard]] QWidget* pageWidget() const;
    // The browser is on screen: a page read by the headless engine while its window was
    // hidden moves into Qt WebEngine, so the person sees it.
    void shownOnScreen();
    // Whether the engine works in Qt WebEngine (false: nothing yet, or the headless engine).
    [[nodiscard]] bool showsPages() const { return m_page != nullptr; }
    // Qt WebEngine pages alive in the program.
    static int livePages();

private:
    // Picks the engine for the first real page: Qt WebEngine when the window is shown.
    runtime::BrowserEngine* ensureReader();
    bool ensurePage();
    void connectPage();
    void replayInPage();

    Session& m_session;
    runtime::WebBrowser& m_browser;
    std::function<std::unique_ptr<runtime::BrowserEngine>()> m_makeHeadless;
    std::unique_ptr<runtime::BrowserEngine> m_headless;
    std::unique_ptr<WebPage> m_page;
    // What was asked before any engine was needed (blank pages), and what a page replays.
    std::string m_location;
    std::string m_document;
    bool m_lastWasWrite = false;
    std::string m_scroll;
    bool m_silent = false;
};

// Whether an address is one of the blank pages that need no engine ("", "about:blank").
bool isBlankAddress(const std::string& url);

} // namespace gui
