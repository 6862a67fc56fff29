// The desktop program itself: the hub with its child, tiles, dragging, the tray menu's exit
// question, and what a reviewer's screenshot shows.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "desktop_fixture.h"
#include "gui/form_view.h"
#include "gui/qt_tray.h"
#include "gui/renderer.h"
#include "runtime/controls.h"
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
    QWidget* control(const std::string& windowName, const std::string& controlName)
    {
        runtime::Control* c = window(windowName).control(controlName);
        return c ? widget(*c) : nullptr;
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

TEST_F(DesktopProgram, StartUpShowsTheHubWithTheOnlineMusicWindowBelowIt)
{
    gui::FormView& hub = shown("moban");
    EXPECT_EQ(hub.pos(), QPoint(2970 / 15, 1125 / 15));
    EXPECT_EQ(hub.width(), 960);
    EXPECT_TRUE(hub.windowFlags() & Qt::FramelessWindowHint);
    gui::FormView& music = shown("Form1");
    expectGlued("Form1");
    EXPECT_EQ(music.windowHandle()->transientParent(), hub.windowHandle());
    // The hub reaches below its child.
    EXPECT_GT(hub.geometry().bottom(), music.geometry().bottom());
}

TEST_F(DesktopProgram, ATilePressSwapsTheChild)
{
    runtime::Form* music = &window("Form1");
    QTest::mousePress(control("moban", "Label7"), Qt::LeftButton);
    QTest::mouseRelease(control("moban", "Label7"), Qt::LeftButton);
    EXPECT_FALSE(loaded(music));
    expectGlued("Form5");
    QTest::mousePress(control("moban", "Label9"), Qt::LeftButton);
    EXPECT_EQ(app().loadedForm("Form5"), nullptr);
    expectGlued("tool");
}

TEST_F(DesktopProgram, AFileDroppedOnThePlayersListIsAdded)
{
    QTest::mousePress(control("moban", "Label7"), Qt::LeftButton);
    const std::string song = dir.file("歌.mp3");
    testing_support::writeBytes(song, "not really music");
    auto* list = qobject_cast<QAbstractScrollArea*>(control("Form5", "List1"));
    ASSERT_NE(list, nullptr);
    dropFiles(list->viewport(), QPoint(20, 20), { QUrl::fromLocalFile(QString::fromStdString(song)) });
    auto* player = static_cast<runtime::ListBox*>(window("Form5").control("List1"));
    EXPECT_TRUE(waitFor([&] {
        const auto& items = player->items();
        return std::find(items.begin(), items.end(), ">歌.mp3") != items.end();
    }));
}

TEST_F(DesktopProgram, DraggingTheHubTakesTheChildAlong)
{
    gui::FormView& hub = shown("moban");
    const QPoint before = hub.pos();
    // A spot of the title strip with no control on it.
    dragBy(&hub, QPoint(250, 45), QPoint(40, 25));
    EXPECT_EQ(hub.pos(), before + QPoint(40, 25));
    expectGlued("Form1");
}

TEST_F(DesktopProgram, TheTrayMenusExitQuestionIsAskedAndAnswered)
{
    auto& tray = app().service<gui::QtTray>();
    // Chooses the tray menu's last item, then answers the question.
    auto exitWith = [&](const QString& answer) {
        QString question;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QTimer::singleShot(50, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                question = box->text();
                for (QAbstractButton* b : box->buttons()) {
                    if (b->text() == answer)
                        b->click();
                }
            });
            QTest::keyClick(menu, Qt::Key_Up);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        tray.deliver(QSystemTrayIcon::Context);
        return question;
    };
    EXPECT_EQ(exitWith(QStringLiteral("否(&N)")), QStringLiteral("您真的要退出播放器吗？"));
    EXPECT_FALSE(app().ended());
    exitWith(QStringLiteral("是(&Y)"));
    EXPECT_TRUE(app().ended());
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
        for (Qt::Key key : { Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return })
            QTest::keyClick(QApplication::activePopupWidget(), key);
    });
    QTest::mousePress(standIn, Qt::RightButton);
    expectGlued("Form5");
    EXPECT_EQ(tray.standIn(), nullptr);
}

TEST_F(DesktopProgram, AGrabbedPictureOfTheHubIsNotBlank)
{
    const QString file = QString::fromStdString(dir.file("hub.png"));
    ASSERT_TRUE(shown("moban").grab().save(file));
    const QImage image(file);
    ASSERT_FALSE(image.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    // Skin, logo, captions: far more than a blank or single-colour window.
    EXPECT_GT(colours.size(), 50);
}

} // namespace
} // namespace gui_testing
