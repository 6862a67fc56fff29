#include "gui/layout_report.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QSaveFile>
#include <QTextStream>
#include <QWindow>
#include <cmath>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/look.h"
#include "gui/media_engine.h"
#include "gui/qt_tray.h"
#include "gui/renderer.h"
#include "gui/session.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// In the screen's own pixels (a scaled screen has more than Qt's), as X input and screenshots
// count them.
QString rectText(const QRect& logical)
{
    const qreal k = qApp->devicePixelRatio();
    const QRect r((QPointF(logical.topLeft()) * k).toPoint(), (QSizeF(logical.size()) * k).toSize());
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect globalRect(const QWidget& w)
{
    return QRect(w.mapToGlobal(QPoint(0, 0)), w.size());
}

// Whether the display has mapped a window and sent it its first expose: before that a click
// or a screenshot would miss it, however visible Qt already counts it.
bool onScreen(const QWidget& w)
{
    const QWindow* handle = w.window()->windowHandle();
    return w.isVisible() && handle && handle->isExposed();
}

// One control's line ("control FORM.NAME X Y W H" and what its kind adds).
void reportControl(QTextStream& out, const Session& session, const QString& formName,
    runtime::Control& control, const QWidget& widget)
{
    out << "control " << formName << '.' << qs(control.name()) << ' ' << rectText(globalRect(widget));
    // A label that shows a caption says so: the suite checks that it can be read.
    if (control.kind() == runtime::ControlKind::Label && !control.caption().empty())
        out << " caption=1";
    if (auto* player = dynamic_cast<runtime::MediaPlayer*>(&control)) {
        out << " state=" << player->playState() << " volume=" << player->volume()
            << " mute=" << int(player->mute()) << " position=" << int(player->position())
            << " rate=" << std::lround(player->rate() * 100);
        if (const MpvMediaEngine* engine = session.mediaEngineOf(*player))
            out << " renderer=" << engine->rendererName();
    }
    if (auto* list = dynamic_cast<runtime::ListBox*>(&control))
        out << " count=" << list->listCount();
    out << '\n';
}

// One line per window on screen ("window NAME WINID X Y W H") and per control on show in it
// ("control FORM.NAME X Y W H", a label with a caption with " caption=1", a media player
// with " state=N volume=V mute=0|1 position=S rate=PERCENT", and " renderer=opengl|software|none"
// once it has its engine, a list box with " count=N").
void reportWindows(QTextStream& out, const Session& session)
{
    for (FormView* view : session.renderer().views()) {
        if (!view->attached() || !onScreen(*view))
            continue;
        const runtime::Form& form = view->form();
        const QString name = qs(form.name());
        // A window drawn inside its owner's (Wayland) is reported with the owner's window.
        const QRect where = view->isWindow() ? view->frameGeometry() : globalRect(*view);
        out << "window " << name << ' ' << view->window()->winId() << ' ' << rectText(where) << '\n';
        for (runtime::Control* control : form.controls()) {
            ControlView* cv = view->viewOf(*control);
            if (cv && cv->widget()->isVisible())
                reportControl(out, session, name, *control, *cv->widget());
        }
    }
}

// The message boxes and dialogs on screen ("dialog TITLE X Y W H").
void reportDialogs(QTextStream& out)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(top);
        if (!dialog || !onScreen(*dialog))
            continue;
        QString title = dialog->windowTitle();
        title.replace(QLatin1Char(' '), QLatin1Char('_'));
        out << "dialog " << (title.isEmpty() ? QStringLiteral("_") : title) << ' '
            << rectText(dialog->frameGeometry()) << '\n';
    }
}

// The items of the open pop-up menus ("menu TEXT X Y W H").
void reportMenus(QTextStream& out)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<QMenu*>(top);
        if (!menu || !menu->isVisible())
            continue;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QRect r = menu->actionGeometry(action);
            QString text = action->text();
            text.replace(QLatin1Char(' '), QLatin1Char('_'));
            out << "menu " << text << ' ' << rectText(QRect(menu->mapToGlobal(r.topLeft()), r.size()))
                << '\n';
        }
    }
}

// The media player's full-screen window, its inside ("fullscreen WINID X Y W H bar=0|1").
void reportFullScreen(QTextStream& out)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() != QLatin1String("fullscreen") || !onScreen(*top))
            continue;
        const QWidget* bar = top->findChild<QWidget*>(QStringLiteral("transportbar"));
        out << "fullscreen " << top->winId() << ' ' << rectText(top->geometry())
            << " bar=" << (bar && bar->isVisible() ? 1 : 0) << '\n';
    }
}

} // namespace

LayoutReport::LayoutReport(Session& session, QString file)
    : m_session(session)
    , m_file(std::move(file))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, [this] { write(); });
    // Menus open and windows move without the windows changing: look again now and then.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] { changed(); });
    poll->start(500);
}

void LayoutReport::changed()
{
    if (!m_timer.isActive())
        m_timer.start();
}

QString LayoutReport::text() const
{
    QString text;
    QTextStream out(&text);
    reportWindows(out, m_session);
    const runtime::App& app = m_session.app();
    if (app.hasService<QtTray>()) {
        const QRect tray = app.service<QtTray>().geometry();
        if (!tray.isEmpty())
            out << "tray " << rectText(tray) << '\n';
    }
    reportDialogs(out);
    reportMenus(out);
    reportFullScreen(out);
    return text;
}

void LayoutReport::write()
{
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text().toUtf8());
    file.commit();
}

std::unique_ptr<LayoutReport> installLayoutReport(Session& session)
{
    const QString file = qEnvironmentVariable("ZELVORA_LAYOUT_REPORT");
    if (file.isEmpty())
        return nullptr;
    auto report = std::make_unique<LayoutReport>(session, file);
    LayoutReport* r = report.get();
    auto previous = session.renderer().onPainted;
    session.renderer().onPainted = [r, previous] {
        r->changed();
        if (previous)
            previous();
    };
    r->changed();
    return report;
}

} // namespace gui
