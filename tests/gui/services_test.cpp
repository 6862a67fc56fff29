// The desktop's services and engines: message boxes, file dialog filters, the tray icon's
// messages, play states, and work posted from another thread.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <thread>

#include "desktop_fixture.h"
#include "gui/media_engine.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_tray.h"
#include "platform/dialogs.h"
#include "support/temp_dir.h"
#include "test_windows.h"

namespace gui_testing {
namespace {

class DesktopServices : public DesktopTest { };

// Answers the message box that is about to open by pressing the button with this text, and
// reports what it showed.
struct MessageBoxSeen {
    QString title, text, defaultButton;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

void answerNextMessageBox(MessageBoxSeen& seen, const QString& press)
{
    QTimer::singleShot(30, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        if (press.isEmpty()) {
            box->reject();
            return;
        }
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == press)
                b->click();
        }
    });
}

TEST_F(DesktopServices, MessageBoxesAnswerWithTheButtonPressed)
{
    struct Row {
        const char* name;
        int buttons, icon, defaultButton;
        QString press; // empty: closed without a button
        QStringList expectButtons;
        QString expectDefault;
        QMessageBox::Icon expectIcon;
        int expectAnswer;
    };
    const QString yes = QStringLiteral("是(&Y)"), no = QStringLiteral("否(&N)");
    const QString ok = QStringLiteral("确定"), cancel = QStringLiteral("取消");
    const Row rows[] = {
        { "yes_no_warning", platform::YesNo, platform::Exclamation, platform::DefaultButton2, yes,
            { yes, no }, no, QMessageBox::Warning, platform::AnswerYes },
        { "yes_no_closed", platform::YesNo, platform::Question, platform::DefaultButton1, QString(),
            { yes, no }, yes, QMessageBox::Question, platform::AnswerNo },
        { "ok_only", platform::OkOnly, platform::Information, platform::DefaultButton1, ok, { ok }, ok,
            QMessageBox::Information, platform::AnswerOk },
        { "ok_cancel_closed", platform::OkCancel, platform::Critical, platform::DefaultButton2, QString(),
            { ok, cancel }, cancel, QMessageBox::Critical, platform::AnswerCancel },
    };
    platform::Dialogs& dialogs = app().service<platform::Dialogs>();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MessageBoxSeen seen;
        answerNextMessageBox(seen, row.press);
        const int answer = dialogs.messageBox(
            { "您真的要退出播放器吗？", "系统提示", row.buttons, row.icon, row.defaultButton });
        EXPECT_EQ(answer, row.expectAnswer) << row.buttons;
        EXPECT_EQ(seen.title, QStringLiteral("系统提示"));
        EXPECT_EQ(seen.text, QStringLiteral("您真的要退出播放器吗？"));
        EXPECT_EQ(seen.icon, row.expectIcon);
        QStringList sortedSeen = seen.buttons, sortedExpected = row.expectButtons;
        sortedSeen.sort();
        sortedExpected.sort();
        EXPECT_EQ(sortedSeen, sortedExpected);
        EXPECT_EQ(seen.defaultButton, row.expectDefault);
    }
}

TEST(DesktopFileDialogFilter, PatternsAreListedOnceEach)
{
    // Columns: the filter's name, its patterns, what the dialog is given.
    for (const auto& row : testing_support::testRows("gui/file_dialog_filters.tsv"))
        EXPECT_EQ(gui::fileDialogFilter({ row[0], row[1] }), QString::fromStdString(row[2])) << row.name;
}

TEST(DesktopTrayMessages, ClicksBecomeThePlatformsMouseMessages)
{
    using R = QSystemTrayIcon::ActivationReason;
    EXPECT_EQ(gui::trayMessagesOf(R::Context), (std::vector<int> { 0x204, 0x205 }));
    EXPECT_EQ(gui::trayMessagesOf(R::Trigger), (std::vector<int> { 0x201, 0x202 }));
    EXPECT_EQ(gui::trayMessagesOf(R::DoubleClick), (std::vector<int> { 0x203, 0x202 }));
    EXPECT_TRUE(gui::trayMessagesOf(R::MiddleClick).empty());
}

TEST(DesktopPlayStates, EndsOfAMediumBecomeTheControlsNumbers)
{
    // mpv's reasons: 0 the end of the medium, 2 a stop, 3 quitting, 4 an error, 5 a redirect.
    const struct {
        const char* name;
        int reason;
        bool quiet;
        std::vector<int> states;
        bool undecodable;
    } rows[] = {
        { "end_of_medium", 0, false, { runtime::PlayEnded, runtime::PlayStopped }, false },
        { "end_of_medium_quiet", 0, true, { runtime::PlayEnded, runtime::PlayStopped }, false },
        { "stop", 2, false, { runtime::PlayStopped }, false },
        { "stop_quiet", 2, true, {}, false }, // a new address or close: no medium ended
        { "quit", 3, false, {}, false },
        { "error", 4, false, { runtime::PlayReady }, true },
        { "redirect", 5, false, {}, false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const gui::MediaEnd end = gui::MpvMediaEngine::endOf(row.reason, row.quiet);
        EXPECT_EQ(end.states, row.states) << row.reason << "/" << row.quiet;
        EXPECT_EQ(end.undecodable, row.undecodable) << row.reason;
    }
}

TEST_F(DesktopServices, WorkPostedFromAnotherThreadRunsWithoutTimers)
{
    Sample& s = app().get<Sample>();
    session().run([&] { s.show(); });
    std::thread worker([&] { app().post([&] { s.Label1.setCaption("来自线程"); }); });
    worker.join();
    EXPECT_TRUE(waitFor([&] { return s.Label1.caption() == "来自线程"; }, 2000));
}

} // namespace
} // namespace gui_testing
