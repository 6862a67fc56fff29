#pragma once
// The browser engine without a display: hidden workers, the headless console and the tests
// load pages with it and read their links.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/engines.h"

namespace runtime {
class App;
class WebBrowser;
} // namespace runtime

namespace platform {

class Network;
class HeadlessLoads;
struct PageContent;

// Loads pages on a worker thread through the Network service and parses them; the finished
// document is handed to the UI thread with app.post, and busy() stays true until it is
// installed there. Events go to the control on the UI thread. No scripts run.
class HeadlessBrowser : public runtime::BrowserEngine {
public:
    // defaultCharset reads pages that declare none (the system code page).
    HeadlessBrowser(runtime::App& app, runtime::BrowserEvents& events, std::shared_ptr<Network> network,
        std::string defaultCharset);
    ~HeadlessBrowser() override;
    HeadlessBrowser(const HeadlessBrowser&) = delete;
    HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

    // Loads a web address, a file address or a local absolute path; "about:blank" shows an
    // empty document at once.
    void navigate(const std::string& url) override;
    void write(const std::string& html) override;
    // Loads the current address again; a written or blank document stays as it is.
    void reload(const std::string& argument) override;
    void refresh() override;
    void stop() override;
    [[nodiscard]] bool busy() const override { return m_busy; }
    void setSilent(bool silent) override { m_silent = silent; }
    [[nodiscard]] bool silent() const { return m_silent; }
    void setBodyScroll(const std::string& value) override { m_bodyScroll = value; }
    [[nodiscard]] std::string bodyScroll() const override { return m_bodyScroll; }
    [[nodiscard]] std::string location() const override { return m_location; }
    [[nodiscard]] std::string documentText() const override;
    [[nodiscard]] std::vector<runtime::BrowserLink> links() const override;
    [[nodiscard]] std::vector<runtime::BrowserLink> images() const override;
    // The A and IMG elements in document order (an image gives its image address).
    [[nodiscard]] std::vector<runtime::BrowserLink> linksAndImages() const;
    [[nodiscard]] std::string activeElementHref() const override { return m_activeHref; }
    // The console drives the designed pages, Flash ones included (nothing plays headless).
    [[nodiscard]] bool supportsFlash() const override { return true; }

    // What a user's click on link number index (0-based, in links() order) does: the link
    // becomes the active element; a link that targets another window raises a new-window
    // request (nothing opens headless), any other navigates this browser. False when there
    // is no such link.
    bool clickLink(size_t index);

private:
    struct Shared;
    struct Job;
    void startLoad(const std::string& url);
    void cancelLoad();
    void install(PageContent page, const std::string& location);
    static void workerLoop(std::shared_ptr<Shared> shared);

    runtime::App& m_app;
    runtime::BrowserEvents& m_events;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<PageContent> m_page;
    // The address being loaded, or the shown document's.
    std::string m_location;
    // The address of the document shown.
    std::string m_pageLocation;
    std::string m_bodyScroll;
    std::string m_activeHref;
    bool m_busy = false;
    bool m_silent = false;
    bool m_written = false;
};

// Creates headless engines for the browser controls of an app.
std::function<std::unique_ptr<runtime::BrowserEngine>(runtime::WebBrowser&)> headlessBrowserFactory(
    runtime::App& app, std::shared_ptr<Network> network, std::string defaultCharset);

// Waits until no headless browser of the app has a load in flight, or timeoutMs passed, and
// then runs the app's posted work (the finished documents). True when nothing is in flight.
bool settleHeadlessBrowsers(runtime::App& app, int timeoutMs);

} // namespace platform
