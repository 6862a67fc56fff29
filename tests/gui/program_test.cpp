// The desktop program itself: dragging the hub with its child, and the icon's stand-in and
// its notices without a notification area (the desktop suite covers the rest).
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "desktop_fixture.h"
#include "gui/form_view.h"
#include "gui/qt_tray.h"
#include "gui/renderer.h"
#include "platform/notices.h"
#include "runtime/form.h"

namespace gui_testing {
namespace {

class DesktopProgram : public DesktopTest {
protected:
    void SetUp() override
    {
        session().startProgram();
        ASSERT_TRUE(waitFor([&] { return session().renderer().shownAndPainted(); }));
    }
    runtime::Form& window(const std::string& name)
    {
        runtime::Form* f = app().loadedForm(name);
        EXPECT_NE(f, nullptr) << name;
        return *f;
    }
    gui::FormView& shown(const std::string& name)
    {
        gui::FormView* v = view(window(name));
        EXPECT_TRUE(v && v->isVisible()) << name;
        return *v;
    }
    // The child window glued below the hub's title area, 870 twips (58 pixels) down.
    void expectGlued(const std::string& child)
    {
        const QPoint hub = shown("moban").pos();
        EXPECT_EQ(shown(child).pos(), hub + QPoint(0, 58)) << child;
    }
    // Moves the mouse over a window's background with the left button held.
    void dragBy(QWidget* target, QPoint from, QPoint by)
    {
        QTest::mousePress(target, Qt::LeftButton, {}, from);
        // The window moves under the mouse: each step is relative to where it is now.
        const QPoint global = target->mapToGlobal(from) + by;
        QMouseEvent move(QEvent::MouseMove, target->mapFromGlobal(global), global, Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFromGlobal(global));
    }
};

TEST_F(DesktopProgram, DraggingTheHubTakesTheChildAlong)
{
    gui::FormView& hub = shown("moban");
    const QPoint before = hub.pos();
    // A spot of the title strip with no control on it.
    dragBy(&hub, QPoint(250, 45), QPoint(40, 25));
    EXPECT_EQ(hub.pos(), before + QPoint(40, 25));
    expectGlued("Form1");
}

TEST_F(DesktopProgram, WithoutANotificationAreaTheIconStandsInWhenNoWindowIsLeft)
{
    auto& tray = app().service<gui::QtTray>();
    ASSERT_FALSE(tray.available()); // offscreen, as on a desktop without a tray
    EXPECT_EQ(tray.standIn(), nullptr);
    session().run([&] { app().unload(window("moban")); });
    QWidget* standIn = tray.standIn();
    ASSERT_NE(standIn, nullptr);
    EXPECT_TRUE(standIn->isVisible());
    EXPECT_TRUE(standIn->toolTip().startsWith(QStringLiteral("Zelvora影音管理")));
    // Its right button opens the icon's menu; "在线影视" brings the hub back with the player.
    QTimer::singleShot(50, [] {
        for (Qt::Key key :
            { Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return })
            QTest::keyClick(QApplication::activePopupWidget(), key);
    });
    QTest::mousePress(standIn, Qt::RightButton);
    expectGlued("Form5");
    EXPECT_EQ(tray.standIn(), nullptr);
}

// A notice (a finished download) shows as a balloon above the stand-in; a click on it is the
// notice's own, and the balloon goes.
TEST_F(DesktopProgram, WithoutANotificationAreaANoticeIsABalloonAboveTheStandIn)
{
    auto& tray = app().service<gui::QtTray>();
    session().run([&] { app().unload(window("moban")); });
    ASSERT_NE(tray.standIn(), nullptr);
    int clicks = 0;
    session().run([&] {
        app().service<platform::Notices>().show(
            { "下载完成", "“第一集.mp4”已下载完成，点击打开下载列表", [&clicks] { ++clicks; } });
    });
    QWidget* balloon = tray.balloon();
    ASSERT_NE(balloon, nullptr);
    ASSERT_TRUE(waitFor([&] { return balloon->isVisible(); }));
    const QRect icon = tray.standIn()->frameGeometry();
    EXPECT_LT(balloon->frameGeometry().bottom(), icon.top());
    EXPECT_EQ(balloon->frameGeometry().right(), icon.right());
    QTest::mouseClick(balloon, Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return clicks == 1 && tray.balloon() == nullptr; }));
}

} // namespace
} // namespace gui_testing
