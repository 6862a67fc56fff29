#include "gui/session.h"

#include <QCoreApplication>
#include <QEvent>

#include "gui/browser_engine.h"
#include "gui/engine_cookies.h"
#include "gui/engine_http_cache.h"
#include "gui/engine_media_cache.h"
#include "gui/media_decoders.h"
#include "gui/media_engine.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_host.h"
#include "gui/qt_tray.h"
#include "gui/renderer.h"
#include "gui/web_module.h"
#include "platform/clipboard.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/notices.h"
#include "platform/tray.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"

namespace gui {

Session::Session(const SessionOptions& options)
    : m_start(options.start)
    , m_app(std::make_unique<runtime::App>(std::make_unique<runtime::SteadyClock>()))
    , m_web(std::make_unique<WebModule>())
    , m_renderer(std::make_unique<Renderer>(*this))
    , m_host(std::make_unique<QtHost>(*this))
{
    auto config = options.config ? options.config : std::make_shared<platform::Config>();
    if (options.installServices)
        options.installServices(*m_app, options.profile, config);
    installDesktopServices();
    installEngines();
    m_app->setHost(m_host.get());
}

Session::~Session()
{
    // Views first (they point at windows and controls), then the windows with their
    // engines, then what the views and engines used.
    m_renderer->clear();
    m_app->setHost(nullptr);
    m_tray.reset();
    m_app.reset();
    m_host.reset();
    m_renderer.reset();
    // Engine widgets are deleted later, in case one was inside its own event.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_web.reset();
}

void Session::installDesktopServices()
{
    m_app->provide<platform::Dialogs>(std::make_shared<QtDialogs>(*this));
    m_app->provide<platform::Clipboard>(std::make_shared<QtClipboard>());
    m_tray = std::make_shared<QtTray>(*this);
    m_app->provide<QtTray>(m_tray);
    m_app->provide<platform::TrayIcon>(m_tray);
    if (m_app->hasService<platform::Notices>()) {
        std::weak_ptr<QtTray> tray = m_tray;
        m_app->service<platform::Notices>().setPresenter([tray](const platform::Notice& notice) {
            if (const auto shown = tray.lock())
                shown->showNotice(QString::fromStdString(notice.title), QString::fromStdString(notice.text));
        });
    }
}

void Session::installEngines()
{
    // Hidden windows keep the engine the platform provides (it reads pages without showing
    // them); the desktop engine decides per page which one works.
    auto headless = m_app->browserFactory();
    m_app->setBrowserFactory(
        [this, headless](runtime::WebBrowser& browser) -> std::unique_ptr<runtime::BrowserEngine> {
            auto makeHeadless = [headless, &browser]() -> std::unique_ptr<runtime::BrowserEngine> {
                return headless ? headless(browser) : nullptr;
            };
            return std::make_unique<DesktopBrowserEngine>(*this, browser, makeHeadless);
        });
    m_app->setMediaFactory([this](runtime::MediaPlayer& player) -> std::unique_ptr<runtime::MediaEngine> {
        return std::make_unique<MpvMediaEngine>(*this, player);
    });
    m_app->provide<platform::Decoders>(std::make_shared<MpvDecoders>());
    // The songs the pages played, for the song harvest.
    std::string store;
    if (m_app->hasService<platform::Environment>())
        store = platform::joinPath(m_app->service<platform::Environment>().userProfile(),
            ".local/share/zelvora/web/played-media.txt");
    m_app->provide<platform::MediaCache>(std::make_shared<EngineMediaCache>(*m_web, store));
    // The engine's HTTP cache, for the toolbox's tune-up.
    m_app->provide<platform::WebEngineCache>(std::make_shared<EngineHttpCache>(*m_web));
    // The engine's cookies, for the video window's downloads from a logged-in site.
    m_app->provide<platform::WebCookies>(std::make_shared<EngineCookies>(*m_web));
}

MpvMediaEngine* Session::mediaEngineOf(const runtime::MediaPlayer& player) const
{
    const auto found = m_mediaEngines.find(&player);
    return found == m_mediaEngines.end() ? nullptr : found->second;
}

void Session::enrolMediaEngine(const runtime::MediaPlayer& player, MpvMediaEngine& engine)
{
    m_mediaEngines[&player] = &engine;
}

void Session::forgetMediaEngine(const runtime::MediaPlayer& player, const MpvMediaEngine& engine)
{
    // A control's new engine may have been enrolled before its old one ends.
    const auto found = m_mediaEngines.find(&player);
    if (found != m_mediaEngines.end() && found->second == &engine)
        m_mediaEngines.erase(found);
}

void Session::startProgram()
{
    run([this] {
        if (m_start)
            m_start(*m_app);
    });
}

void Session::run(const std::function<void()>& work)
{
    if (m_app->ended())
        return;
    work();
    sync();
}

void Session::sync()
{
    if (m_app->ended())
        return;
    m_renderer->sync();
    m_tray->windowsShown(m_renderer->anyShown());
    if (onSynced)
        onSynced();
}

} // namespace gui
