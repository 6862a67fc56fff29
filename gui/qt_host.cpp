#include "gui/qt_host.h"

#include <QCoreApplication>
#include <QCursor>
#include <algorithm>
#include <climits>

#include "gui/look.h"
#include "gui/menu_popup.h"
#include "gui/renderer.h"
#include "gui/session.h"

namespace gui {

QtHost::QtHost(Session& session)
    : m_session(session)
{
    m_wake.setSingleShot(true);
    // The windows rely on 1 ms one-shot timers; a coarse timer would slow every job down.
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, [this] { tick(); });
}

QtHost::~QtHost() = default;

void QtHost::tick()
{
    m_session.run([this] { m_session.app().runDue(); });
    timersChanged();
}

std::optional<runtime::Host::ScreenPlace> QtHost::pointerPlace() const
{
    const QPoint at = QCursor::pos();
    return runtime::Host::ScreenPlace { twipsOf(at.x()), twipsOf(at.y()) };
}

void QtHost::pumpEvents()
{
    // A handler that lets events through (a download's progress) expects the screen to show
    // what it changed so far.
    m_session.sync();
    QCoreApplication::processEvents();
}

void QtHost::popupMenu(runtime::Form& form, runtime::Menu& menu)
{
    if (takePopup) {
        takePopup(menu);
        return;
    }
    m_session.sync();
    popupRuntimeMenu(m_session, form, menu);
}

void QtHost::programEnded()
{
    m_wake.stop();
    if (m_session.onProgramEnded)
        m_session.onProgramEnded();
}

void QtHost::timersChanged()
{
    const runtime::App& app = m_session.app();
    const auto due = app.ended() ? std::nullopt : app.nextDueIn();
    if (!due) {
        m_wake.stop();
        return;
    }
    m_wake.start(static_cast<int>(std::clamp<int64_t>(*due, 0, INT_MAX)));
}

void QtHost::formUnloaded(runtime::Form& form)
{
    m_session.renderer().formUnloaded(form);
}

void QtHost::workPosted()
{
    // Called from worker threads: one queued wake-up runs everything posted until then.
    if (m_postedPending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_postedPending = false;
            tick();
        },
        Qt::QueuedConnection);
}

} // namespace gui
