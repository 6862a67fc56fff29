#include "desktop_fixture.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QMimeData>

#include "assembly/program.h"
#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/renderer.h"
#include "platform/config.h"
#include "runtime/form.h"

namespace gui_testing {

DesktopTest::DesktopTest()
{
    auto config = std::make_shared<platform::Config>();
    // No test reaches outside: every web address goes to a closed port on this machine.
    for (const auto& [key, value] : std::map<std::string, std::string>(config->values())) {
        if (value.rfind("http", 0) == 0)
            config->set(key, "http://127.0.0.1:9/");
    }
    m_session = std::make_unique<gui::Session>(gui::SessionOptions {
        dir.path().string(), config, assembly::installDesktopServices, assembly::launchProgram });
}

DesktopTest::~DesktopTest()
{
    m_session.reset();
}

bool DesktopTest::waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        // Outside QApplication::exec, what was given to deleteLater goes here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

void DesktopTest::settle(int ms)
{
    waitFor([] { return false; }, ms);
}

gui::FormView* DesktopTest::view(const runtime::Form& form)
{
    return m_session->renderer().viewOf(form);
}

QWidget* DesktopTest::widget(const runtime::Control& control)
{
    gui::FormView* v = view(control.form());
    gui::ControlView* cv = v ? v->viewOf(control) : nullptr;
    return cv ? cv->widget() : nullptr;
}

void dropFiles(QWidget* target, QPoint at, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

std::vector<int> geometryOf(const QWidget& widget)
{
    const QRect g = widget.geometry();
    return { g.x(), g.y(), g.width(), g.height() };
}

} // namespace gui_testing
