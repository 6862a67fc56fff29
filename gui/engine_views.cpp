#include "gui/engine_views.h"

#include "gui/browser_engine.h"
#include "gui/media_engine.h"
#include "gui/session.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace gui {

EngineAreaView::EngineAreaView(Session& session, runtime::Control& control, QWidget* parent, QColor blank)
    : QWidget(parent)
    , ControlView(session, control)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, blank);
    setPalette(p);
    setAutoFillBackground(true);
    relay(this, RelayOptions { false, false, true });
}

EngineAreaView::~EngineAreaView()
{
    giveBack();
}

void EngineAreaView::detach()
{
    giveBack();
    ControlView::detach();
}

void EngineAreaView::giveBack()
{
    // The engine owns its widget; it must outlive this view and not be deleted with it.
    if (m_hostedRelay) {
        // Stops at once; deleted later because it may be the one filtering an event now.
        if (m_hosted)
            m_hosted->removeEventFilter(m_hostedRelay);
        m_hostedRelay->deleteLater();
    }
    if (m_hosted) {
        m_hosted->hide();
        m_hosted->setParent(nullptr);
    }
    m_hosted = nullptr;
}

void EngineAreaView::syncKind(runtime::Control& control)
{
    QWidget* w = engineWidget(control);
    if (w == m_hosted)
        return;
    giveBack();
    if (!w)
        return;
    m_hosted = w;
    w->setParent(this);
    w->setGeometry(rect());
    w->show();
    m_hostedRelay = relay(w, RelayOptions { false, false, true });
}

void EngineAreaView::resizeEvent(QResizeEvent*)
{
    if (m_hosted)
        m_hosted->setGeometry(rect());
}

BrowserView::BrowserView(Session& session, runtime::WebBrowser& browser, QWidget* parent)
    : EngineAreaView(session, browser, parent, Qt::white)
{
}

QWidget* BrowserView::engineWidget(runtime::Control& control)
{
    auto& browser = static_cast<runtime::WebBrowser&>(control);
    if (!browser.hasEngine())
        return nullptr;
    auto* engine = dynamic_cast<DesktopBrowserEngine*>(&browser.engine());
    return engine ? engine->pageWidget() : nullptr;
}

void BrowserView::windowShown()
{
    auto* browser = static_cast<runtime::WebBrowser*>(control());
    if (!browser || !browser->visible() || !browser->hasEngine())
        return;
    if (auto* engine = dynamic_cast<DesktopBrowserEngine*>(&browser->engine())) {
        engine->shownOnScreen();
        syncKind(*browser);
    }
}

MediaView::MediaView(Session& session, runtime::MediaPlayer& player, QWidget* parent)
    : EngineAreaView(session, player, parent, Qt::black)
{
}

QWidget* MediaView::engineWidget(runtime::Control& control)
{
    MpvMediaEngine* engine = session().mediaEngineOf(static_cast<runtime::MediaPlayer&>(control));
    return engine ? engine->videoWidget() : nullptr;
}

} // namespace gui
