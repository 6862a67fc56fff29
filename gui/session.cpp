#include "gui/session.h"

#include <QCoreApplication>
#include <QEvent>

#include "gui/browser_engine.h"
#include "gui/media_engine.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_host.h"
#include "gui/qt_tray.h"
#include "gui/renderer.h"
#include "gui/web_module.h"
#include "platform/clipboard.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/tray.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"
#include "shell/program.h"

namespace gui {

Session::Session(const SessionOptions& options)
    : m_app(std::make_unique<rt::App>(std::make_unique<rt::SteadyClock>()))
    , m_web(std::make_unique<WebModule>())
    , m_renderer(std::make_unique<Renderer>(*this))
    , m_host(std::make_unique<QtHost>(*this))
{
    auto config = options.config ? options.config : std::make_shared<platform::Config>();
    platform::installServices(*m_app, config, { options.profile, false });
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
}

void Session::installEngines()
{
    // Hidden windows keep the engine the platform provides (it reads pages without showing
    // them); the desktop engine decides per page which one works.
    auto headless = m_app->browserFactory();
    m_app->setBrowserFactory([this, headless](rt::WebBrowser& browser) -> std::unique_ptr<rt::BrowserEngine> {
        auto makeHeadless = [headless, &browser]() -> std::unique_ptr<rt::BrowserEngine> {
            return headless ? headless(browser) : nullptr;
        };
        return std::make_unique<DesktopBrowserEngine>(*this, browser, makeHeadless);
    });
    m_app->setMediaFactory([this](rt::MediaPlayer& player) -> std::unique_ptr<rt::MediaEngine> {
        return std::make_unique<QtMediaEngine>(*this, player);
    });
}

void Session::startProgram()
{
    shell::registerWindows(*m_app);
    run([this] { shell::startProgram(*m_app); });
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
}

} // namespace gui
