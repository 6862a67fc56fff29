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

TEST_F(DesktopServices, MessageBoxesShowTheAskedButtonsInChineseAndReturnTheAnswer)
{
    struct Row {
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
        { platform::YesNo, platform::Exclamation, platform::DefaultButton2, yes, { yes, no }, no,
            QMessageBox::Warning, platform::AnswerYes },
        { platform::YesNo, platform::Question, platform::DefaultButton1, QString(), { yes, no }, yes,
            QMessageBox::Question, platform::AnswerNo },
        { platform::OkOnly, platform::Information, platform::DefaultButton1, ok, { ok }, ok,
            QMessageBox::Information, platform::AnswerOk },
        { platform::OkCancel, platform::Critical, platform::DefaultButton2, QString(), { ok, cancel }, cancel,
            QMessageBox::Critical, platform::AnswerCancel },
    };
    platform::Dialogs& dialogs = app().service<platform::Dialogs>();
    for (const Row& row : rows) {
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

TEST(DesktopFileDialogFilter, PatternsAreGivenOnceAndSpaceSeparated)
{
    // Columns: the filter's name, its patterns, what the dialog is given.
    for (const auto& row : testing_support::testRows("gui/file_dialog_filters.tsv"))
        EXPECT_EQ(gui::fileDialogFilter({ row[0], row[1] }), QString::fromStdString(row[2])) << row[2];
}

TEST(DesktopTrayMessages, ClicksBecomeThePlatformsMouseMessages)
{
    using R = QSystemTrayIcon::ActivationReason;
    EXPECT_EQ(gui::trayMessagesOf(R::Context), (std::vector<int> { 0x204, 0x205 }));
    EXPECT_EQ(gui::trayMessagesOf(R::Trigger), (std::vector<int> { 0x201, 0x202 }));
    EXPECT_EQ(gui::trayMessagesOf(R::DoubleClick), (std::vector<int> { 0x203, 0x202 }));
    EXPECT_TRUE(gui::trayMessagesOf(R::MiddleClick).empty());
}

TEST(DesktopPlayStates, QtStatesBecomeTheControlsNumbers)
{
    using P = QMediaPlayer;
    const struct {
        P::PlaybackState state;
        P::MediaStatus status;
        std::optional<int> expected;
    } rows[] = {
        { P::PlayingState, P::BufferedMedia, runtime::PlayPlaying },
        { P::PlayingState, P::BufferingMedia, runtime::PlayBuffering },
        { P::PlayingState, P::StalledMedia, runtime::PlayBuffering },
        { P::PausedState, P::BufferedMedia, runtime::PlayPaused },
        { P::StoppedState, P::LoadedMedia, runtime::PlayStopped },
        { P::StoppedState, P::EndOfMedia, runtime::PlayStopped },
        { P::PlayingState, P::EndOfMedia, runtime::PlayStopped },
        { P::StoppedState, P::BufferedMedia, std::nullopt }, // why it stopped is not known yet
        { P::StoppedState, P::InvalidMedia, runtime::PlayReady },
        { P::StoppedState, P::NoMedia, std::nullopt },
    };
    for (const auto& row : rows)
        EXPECT_EQ(gui::QtMediaEngine::playStateOf(row.state, row.status), row.expected)
            << row.state << "/" << row.status;
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
