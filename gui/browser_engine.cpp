#include "gui/browser_engine.h"

#include <QUrl>
#include <QWidget>

#include "gui/look.h"
#include "gui/session.h"
#include "gui/web_module.h"
#include "gui/web_page.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "resources/resources.h"
#include "runtime/app.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"
#include "runtime/vbtext.h"

namespace gui {

namespace {

int g_livePages = 0;

std::vector<runtime::BrowserLink> toLinks(const std::vector<PageLink>& links)
{
    std::vector<runtime::BrowserLink> out;
    out.reserve(links.size());
    for (const PageLink& l : links)
        out.push_back({ utf8(l.href), utf8(l.text) });
    return out;
}

// An address as typed (a path, a file: or web address) for Qt WebEngine.
QUrl toUrl(const std::string& address)
{
    const QString text = qs(address);
    if (text.startsWith(QLatin1Char('/')))
        return QUrl::fromLocalFile(text);
    return QUrl::fromUserInput(text);
}

} // namespace

bool isBlankAddress(const std::string& url)
{
    const std::string u = vb::Trim(url);
    return u.empty() || vb::UCase(u) == "ABOUT:BLANK";
}

DesktopBrowserEngine::DesktopBrowserEngine(Session& session, runtime::WebBrowser& browser,
    std::function<std::unique_ptr<runtime::BrowserEngine>()> headless)
    : m_session(session)
    , m_browser(browser)
    , m_makeHeadless(std::move(headless))
{
}

DesktopBrowserEngine::~DesktopBrowserEngine()
{
    if (m_page)
        --g_livePages;
}

int DesktopBrowserEngine::livePages()
{
    return g_livePages;
}

bool DesktopBrowserEngine::ensurePage()
{
    if (m_page)
        return true;
    WebStorage storage;
    if (m_session.app().hasService<platform::Environment>()) {
        const auto& env = m_session.app().service<platform::Environment>();
        storage.cacheFolder = qs(env.browserCacheFolder());
        storage.dataFolder = qs(platform::joinPath(env.userProfile(), ".local/share/zelvora/web"));
    }
    storage.unreachablePage = QString::fromUtf8(resources::get("pages/unreachable.html"));
    m_page = m_session.webModule().createPage(storage);
    if (!m_page)
        return false;
    ++g_livePages;
    m_headless.reset();
    m_page->setSilent(m_silent);
    connectPage();
    return true;
}

void DesktopBrowserEngine::connectPage()
{
    // Reports arrive from Qt's event loop: each runs as an event of the window.
    m_page->onNavigating = [this](const QUrl& url) {
        const std::string u = utf8(url.toString());
        m_session.run([&] { m_browser.beforeNavigate(u); });
    };
    m_page->onLoaded = [this](const QUrl& url) {
        const std::string u = utf8(url.toString());
        m_session.run([&] {
            m_browser.downloadComplete();
            m_browser.documentComplete(u);
        });
    };
    m_page->onContextMenu = [this] {
        bool allow = true;
        m_session.run([&] { allow = m_browser.documentContextMenu(); });
        return allow;
    };
    m_page->onNewWindow = [this](const QUrl& url, bool& cancel) {
        const std::string u = utf8(url.toString());
        m_session.run([&] { m_browser.newWindowRequested(u, cancel); });
        // A window the program did not take over opens in the person's own browser.
        if (!cancel && m_session.app().hasService<platform::Shell>())
            // Nothing here waits for it: a browser that cannot be started changes nothing.
            std::ignore = m_session.app().service<platform::Shell>().open(u);
    };
}

runtime::BrowserEngine* DesktopBrowserEngine::ensureReader()
{
    if (m_page)
        return nullptr;
    if (m_browser.form().visible() && ensurePage())
        return nullptr;
    if (!m_headless) {
        m_headless = m_makeHeadless ? m_makeHeadless() : nullptr;
        if (!m_headless)
            m_headless = std::make_unique<runtime::RecordingBrowserEngine>();
        m_headless->setSilent(m_silent);
    }
    return m_headless.get();
}

void DesktopBrowserEngine::navigate(const std::string& url)
{
    m_location = url;
    m_document.clear();
    m_lastWasWrite = false;
    if (!m_page && !m_headless && isBlankAddress(url))
        return;
    if (runtime::BrowserEngine* reader = ensureReader())
        reader->navigate(url);
    else
        m_page->navigate(toUrl(url));
}

void DesktopBrowserEngine::write(const std::string& html)
{
    m_document = html;
    m_lastWasWrite = true;
    if (!m_page && !m_headless && html.empty())
        return;
    if (runtime::BrowserEngine* reader = ensureReader())
        reader->write(html);
    else
        m_page->setDocument(qs(html));
}

void DesktopBrowserEngine::reload(const std::string& argument)
{
    // A written or blank document has nothing to load again (and the write that usually
    // follows would cut the load short anyway).
    if (m_page && !m_lastWasWrite && !isBlankAddress(m_location))
        m_page->reload();
    else if (m_headless)
        m_headless->reload(argument);
}

void DesktopBrowserEngine::refresh()
{
    if (m_page && !m_lastWasWrite && !isBlankAddress(m_location))
        m_page->reload();
    else if (m_headless)
        m_headless->refresh();
}

void DesktopBrowserEngine::stop()
{
    if (m_page)
        m_page->stop();
    else if (m_headless)
        m_headless->stop();
}

bool DesktopBrowserEngine::busy() const
{
    if (m_page)
        return m_page->busy();
    return m_headless && m_headless->busy();
}

void DesktopBrowserEngine::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
    else if (m_headless)
        m_headless->setSilent(silent);
}

void DesktopBrowserEngine::setBodyScroll(const std::string& value)
{
    m_scroll = value;
    if (m_page)
        m_page->setBodyScroll(qs(value));
    else if (m_headless)
        m_headless->setBodyScroll(value);
}

std::string DesktopBrowserEngine::bodyScroll() const
{
    return m_scroll;
}

std::string DesktopBrowserEngine::location() const
{
    if (m_page)
        return utf8(m_page->location().toString());
    if (m_headless)
        return m_headless->location();
    return m_lastWasWrite ? std::string("about:blank") : m_location;
}

std::string DesktopBrowserEngine::documentText() const
{
    if (m_page)
        return utf8(m_page->documentText());
    if (m_headless)
        return m_headless->documentText();
    return m_document;
}

std::vector<runtime::BrowserLink> DesktopBrowserEngine::links() const
{
    if (m_page)
        return toLinks(m_page->links());
    return m_headless ? m_headless->links() : std::vector<runtime::BrowserLink>();
}

std::vector<runtime::BrowserLink> DesktopBrowserEngine::images() const
{
    if (m_page)
        return toLinks(m_page->images());
    return m_headless ? m_headless->images() : std::vector<runtime::BrowserLink>();
}

std::vector<runtime::BrowserLink> DesktopBrowserEngine::linksAndImages() const
{
    if (m_page)
        return toLinks(m_page->linksAndImages());
    return m_headless ? m_headless->linksAndImages() : std::vector<runtime::BrowserLink>();
}

std::string DesktopBrowserEngine::activeElementHref() const
{
    if (m_page)
        return utf8(m_page->activeElementHref());
    return m_headless ? m_headless->activeElementHref() : std::string();
}

QWidget* DesktopBrowserEngine::pageWidget() const
{
    return m_page ? m_page->widget() : nullptr;
}

void DesktopBrowserEngine::shownOnScreen()
{
    if (m_page || !m_headless)
        return;
    if (!ensurePage())
        return;
    replayInPage();
}

void DesktopBrowserEngine::replayInPage()
{
    if (m_lastWasWrite)
        m_page->setDocument(qs(m_document));
    else if (!isBlankAddress(m_location))
        m_page->navigate(toUrl(m_location));
}

} // namespace gui
