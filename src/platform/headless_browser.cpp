#include "platform/headless_browser.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "platform/headless_fetch.h"
#include "platform/headless_html.h"
#include "platform/headless_loads.h"
#include "platform/headless_url.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"

namespace platform {

// A load the worker is asked to do.
struct HeadlessBrowser::Job {
    uint64_t generation = 0;
    std::string url;
};

// What the engine and its worker share. The worker and posted work hold it, so neither
// touches a destroyed engine: owner is cleared (on the UI thread) when the engine goes.
struct HeadlessBrowser::Shared {
    runtime::App* app = nullptr;
    HeadlessBrowser* owner = nullptr;
    std::shared_ptr<Network> network;
    std::shared_ptr<HeadlessLoads> loads;
    std::string defaultCharset;
    std::mutex mutex;
    std::condition_variable wake;
    std::optional<Job> pending;
    bool shutdown = false;
    // Moves on every navigation, stop and write; a load whose generation is stale is dropped.
    std::atomic<uint64_t> generation { 0 };
    std::thread worker;
};

HeadlessBrowser::HeadlessBrowser(runtime::App& app, runtime::BrowserEvents& events,
    std::shared_ptr<Network> network, std::string defaultCharset)
    : m_app(app)
    , m_events(events)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->app = &app;
    m_shared->owner = this;
    m_shared->network = std::move(network);
    m_shared->loads = HeadlessLoads::of(app);
    m_shared->defaultCharset = std::move(defaultCharset);
}

HeadlessBrowser::~HeadlessBrowser()
{
    m_shared->owner = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->shutdown = true;
        if (m_shared->pending) {
            m_shared->pending.reset();
            m_shared->loads->finished();
        }
        ++m_shared->generation;
    }
    m_shared->wake.notify_all();
    // A running load notices the shutdown within the network's poll interval.
    if (m_shared->worker.joinable())
        m_shared->worker.join();
}

void HeadlessBrowser::navigate(const std::string& url)
{
    const size_t first = url.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return;
    std::string address = url.substr(first, url.find_last_not_of(" \t\r\n") + 1 - first);
    std::string scheme = addressScheme(address);
    if (scheme == "javascript")
        return;
    // A typed "www.example.com/page" is a web address, as the browser's address bar reads it.
    if (scheme.empty() && !isLocalPath(address)) {
        address = "http://" + address;
        scheme = "http";
    }
    m_events.beforeNavigate(address);
    if (scheme != "about") {
        // The location names the page being loaded at once; the document shown stays until
        // the new one has arrived (and the location then becomes its address after redirects).
        m_location = address;
        startLoad(address);
        return;
    }
    // "about:blank" (and any other about: page) is an empty document at once; the completion
    // events still arrive later, as with any page.
    cancelLoad();
    m_busy = false;
    m_written = false;
    m_page = std::make_unique<PageContent>();
    m_location = address;
    m_pageLocation = address;
    m_bodyScroll.clear();
    m_activeHref.clear();
    const uint64_t generation = m_shared->generation;
    m_app.post([shared = m_shared, generation, address] {
        if (shared->owner && shared->generation == generation) {
            shared->owner->m_events.downloadComplete();
            if (shared->owner && shared->generation == generation)
                shared->owner->m_events.documentComplete(address);
        }
    });
}

void HeadlessBrowser::write(const std::string& html)
{
    cancelLoad();
    m_location = m_pageLocation;
    m_page = std::make_unique<PageContent>(parsePage(html, resolutionBase(m_location)));
    m_bodyScroll = m_page->bodyScroll;
    m_activeHref.clear();
    m_busy = false;
    m_written = true;
}

void HeadlessBrowser::reload(const std::string&)
{
    refresh();
}

void HeadlessBrowser::refresh()
{
    if (m_written || m_location.empty() || addressScheme(m_location) == "about")
        return;
    startLoad(m_location);
}

void HeadlessBrowser::stop()
{
    cancelLoad();
    // The document shown stays, and so does its address.
    m_location = m_pageLocation;
    m_busy = false;
}

std::string HeadlessBrowser::documentText() const
{
    return m_page ? m_page->html : std::string();
}

std::vector<runtime::BrowserLink> HeadlessBrowser::links() const
{
    return m_page ? m_page->links : std::vector<runtime::BrowserLink>();
}

std::vector<runtime::BrowserLink> HeadlessBrowser::images() const
{
    return m_page ? m_page->images : std::vector<runtime::BrowserLink>();
}

std::vector<runtime::BrowserLink> HeadlessBrowser::linksAndImages() const
{
    return m_page ? m_page->linksAndImages : std::vector<runtime::BrowserLink>();
}

bool HeadlessBrowser::clickLink(size_t index)
{
    if (!m_page || index >= m_page->links.size())
        return false;
    const std::string href = m_page->links[index].href;
    std::string target = m_page->linkTargets[index];
    std::transform(
        target.begin(), target.end(), target.begin(), [](unsigned char c) { return std::tolower(c); });
    m_activeHref = href;
    if (!target.empty() && target != "_self" && target != "_parent" && target != "_top") {
        bool cancel = false;
        m_events.newWindowRequested(href, cancel);
        return true;
    }
    navigate(href);
    return true;
}

void HeadlessBrowser::startLoad(const std::string& url)
{
    m_busy = true;
    m_written = false;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        const uint64_t generation = ++m_shared->generation;
        if (!m_shared->pending)
            m_shared->loads->started();
        m_shared->pending = Job { generation, url };
        if (!m_shared->worker.joinable())
            m_shared->worker = std::thread(&HeadlessBrowser::workerLoop, m_shared);
    }
    m_shared->wake.notify_all();
}

void HeadlessBrowser::cancelLoad()
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    ++m_shared->generation;
    if (m_shared->pending) {
        m_shared->pending.reset();
        m_shared->loads->finished();
    }
}

void HeadlessBrowser::install(PageContent page, const std::string& location)
{
    m_page = std::make_unique<PageContent>(std::move(page));
    m_location = location;
    m_pageLocation = location;
    m_bodyScroll = m_page->bodyScroll;
    m_activeHref.clear();
    m_busy = false;
    const std::shared_ptr<Shared> shared = m_shared;
    const uint64_t generation = shared->generation;
    // A handler may navigate again or drop this engine; check before each event.
    m_events.downloadComplete();
    if (shared->owner && shared->generation == generation)
        m_events.documentComplete(location);
}

void HeadlessBrowser::workerLoop(std::shared_ptr<Shared> shared)
{
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->wake.wait(lock, [&] { return shared->shutdown || shared->pending.has_value(); });
            if (shared->shutdown)
                return;
            job = std::move(*shared->pending);
            shared->pending.reset();
        }
        auto current = [&] { return shared->generation.load() == job.generation; };
        LoadedPage loaded = loadPage(shared->network.get(), shared->defaultCharset, job.url, current);
        if (current()) {
            shared->app->post([shared, generation = job.generation, loaded = std::move(loaded)]() mutable {
                if (shared->owner && shared->generation == generation)
                    shared->owner->install(std::move(loaded.page), loaded.location);
            });
        }
        // Counted after posting, so whoever waits for the loads finds the document posted.
        shared->loads->finished();
    }
}

std::function<std::unique_ptr<runtime::BrowserEngine>(runtime::WebBrowser&)> headlessBrowserFactory(
    runtime::App& app, std::shared_ptr<Network> network, std::string defaultCharset)
{
    return [&app, network = std::move(network), defaultCharset = std::move(defaultCharset)](
               runtime::WebBrowser& browser) -> std::unique_ptr<runtime::BrowserEngine> {
        return std::make_unique<HeadlessBrowser>(app, browser, network, defaultCharset);
    };
}

} // namespace platform
