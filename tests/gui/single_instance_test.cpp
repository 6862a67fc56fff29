// One program per user session: a second start hands its file over and ends.
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>

#include "assembly/open_files.h"
#include "desktop_fixture.h"
#include "gui/desktop.h"
#include "gui/single_instance.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "support/temp_dir.h"

using namespace gui_testing;

namespace {

QString testKey(const char* what)
{
    return QStringLiteral("zelvora-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QLatin1String(what));
}

class DesktopSecondStart : public DesktopTest {
protected:
    void SetUp() override { session().startProgram(); }
    runtime::Form& window(const std::string& name) { return *app().loadedForm(name); }
};

} // namespace

TEST_F(DesktopSecondStart, ASecondStartHandsItsFileToTheRunningProgramAndEnds)
{
    const QString key = testKey("open");
    gui::SingleInstance instance(key);
    gui::acceptHandOvers(instance, session(), assembly::openFiles);
    const std::string song = dir.file("第二首.mp3");
    testing_support::writeBytes(song, "not really music");

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELVORA_INSTANCE"), key);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(ZELVORA_EXECUTABLE), { QString::fromStdString(song) });
    ASSERT_TRUE(waitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    // The running program shows the player with the file added, as a drop would.
    EXPECT_TRUE(waitFor([&] {
        const auto* qied = static_cast<runtime::TextBox*>(window("moban").control("qied"));
        return qied->text() == "在线影音";
    }));
    const auto* list = static_cast<runtime::ListBox*>(window("Form5").control("List1"));
    const auto& items = list->items();
    EXPECT_NE(std::find(items.begin(), items.end(), ">第二首.mp3"), items.end());
}

TEST(DesktopHandOver, NobodyListeningMeansTheStartGoesOn)
{
    EXPECT_FALSE(gui::SingleInstance::handOver(testKey("nobody"), { QStringLiteral("/tmp/a.mp3") }, 500));
}
