#pragma once
// A desktop session for a test: a temporary user profile, every outside address pointed at a
// closed loopback port, and helpers to wait for Qt and to reach the views of windows.
#include <QList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "gui/session.h"
#include "runtime/app.h"
#include "support/temp_dir.h"

namespace gui {
class FormView;
}
namespace runtime {
class Control;
class Form;
} // namespace runtime

namespace gui_testing {

class DesktopTest : public ::testing::Test {
protected:
    DesktopTest();
    ~DesktopTest() override;

    gui::Session& session() { return *m_session; }
    runtime::App& app() { return m_session->app(); }
    // Lets Qt run until the condition holds or the time is up; returns the condition.
    bool waitFor(const std::function<bool()>& condition, int ms = 3000);
    // Lets Qt run for a while.
    void settle(int ms = 50);
    // The view of a window (null when it has none) and the widget of a control.
    gui::FormView* view(const runtime::Form& form);
    QWidget* widget(const runtime::Control& control);

    testing_support::TempDir dir;

private:
    std::unique_ptr<gui::Session> m_session;
};

// Drags these addresses onto a widget and drops them at a point, as a file manager does.
void dropFiles(QWidget* target, QPoint at, const QList<QUrl>& urls);

// The top-level geometry of a widget in pixels (x, y, width, height).
std::vector<int> geometryOf(const QWidget& widget);

} // namespace gui_testing
