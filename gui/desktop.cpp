#include "gui/desktop.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "gui/application.h"
#include "gui/form_view.h"
#include "gui/layout_report.h"
#include "gui/look.h"
#include "gui/mpris.h"
#include "gui/render_choice.h"
#include "gui/renderer.h"
#include "gui/session.h"
#include "gui/single_instance.h"
#include "platform/dialogs.h"
#include "platform/end_signals.h"
#include "runtime/app.h"
#include "runtime/form.h"

namespace gui {

namespace {

constexpr const char* kProfileInUse
    = "另一个 Zelvora 正在使用同一个用户资料，但没有回应。为保护播放列表和设置，本次启动已取消。";
constexpr const char* kProfileUnusable = "无法锁定用户资料，本次启动已取消：";

constexpr const char* kNoChineseFont
    = "没有找到可以显示中文的字体，界面文字会显示为方框。请安装中文字体（例如 fonts-noto-cjk 或 "
      "fonts-wqy-microhei）后重新启动 Zelvora。\n\n"
      "No installed font can show Chinese, so the captions show as boxes. Install a Chinese font "
      "(fonts-noto-cjk or fonts-wqy-microhei, for example) and start Zelvora again.";

// Whether Qt will find a display: a platform chosen in the environment (offscreen, for
// example), a Wayland display, or an X display whose local socket exists.
bool displayAvailable()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return false;
    // ":N" and ":N.S" are local displays with a socket; any other form is left to Qt.
    if (!display.startsWith(QLatin1Char(':')))
        return true;
    const QString number = display.mid(1).section(QLatin1Char('.'), 0, 0);
    return std::filesystem::exists("/tmp/.X11-unix/X" + utf8(number));
}

// With ZELVORA_STARTUP_PROBE set, prints "shown" once the first windows are on screen and
// painted (the start-up benchmark waits for it); with the value "exit" the program then ends.
void installStartupProbe(Session& session)
{
    const QString probe = qEnvironmentVariable("ZELVORA_STARTUP_PROBE");
    if (probe.isEmpty())
        return;
    const bool exitAfter = probe == QLatin1String("exit");
    Renderer& renderer = session.renderer();
    renderer.onPainted = [&renderer, exitAfter, reported = false]() mutable {
        if (reported || !renderer.shownAndPainted())
            return;
        reported = true;
        std::printf("shown\n");
        std::fflush(stdout);
        if (exitAfter)
            QCoreApplication::exit(0);
    };
}

QStringList toQt(const std::vector<std::string>& files)
{
    QStringList out;
    for (const std::string& f : files)
        out << qs(f);
    return out;
}

// Sound: a logout or a stop by a service manager ends the program as its own quit does, so
// what it keeps is saved; without this the signal would kill it on the spot.
void endOnRequest(QObject* owner, Session& session, std::function<void(runtime::App&)> endProgram)
{
    const int fd = platform::catchEndRequests();
    if (fd < 0)
        return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [fd, &session, endProgram] {
        if (!platform::takeEndRequests(fd))
            return;
        session.run([&] {
            if (endProgram)
                endProgram(session.app());
            else
                session.app().end();
        });
        // The program may be inside a dialog's loop; the main loop ends all the same.
        QCoreApplication::exit(0);
    });
}

// Sound: with no font for Chinese every caption is a row of boxes and nothing says why; the
// person is told once, in both languages, as soon as the hub is up.
void sayWhenNoChineseFont(QObject* owner, Session& session)
{
    if (chineseFontInstalled())
        return;
    std::fprintf(stderr, "zelvora: no installed font has Chinese characters\n");
    QTimer::singleShot(0, owner, [&session] {
        session.run([&] {
            platform::MessageBoxRequest box;
            box.text = kNoChineseFont;
            box.icon = platform::Exclamation;
            session.app().service<platform::Dialogs>().messageBox(box);
        });
    });
}

} // namespace

void bringHubToFront(Session& session)
{
    for (FormView* view : session.renderer().views()) {
        const runtime::Form& form = view->form();
        const bool hub = form.name() == "moban";
        if ((hub || (form.owner() && form.owner()->name() == "moban")) && view->isVisible()) {
            view->raise();
            if (hub)
                view->activateWindow();
        }
    }
}

bool acceptHandOvers(SingleInstance& instance, Session& session,
    std::function<void(runtime::App&, const std::vector<std::string>&)> openFiles)
{
    return instance.listen([&session, openFiles](const QStringList& files) {
        std::vector<std::string> paths;
        for (const QString& f : files)
            paths.push_back(utf8(f));
        session.run([&] {
            if (openFiles)
                openFiles(session.app(), paths);
        });
        bringHubToFront(session);
    });
}

int runDesktop(int argc, char** argv, const DesktopOptions& options)
{
    if (!displayAvailable()) {
        std::fprintf(stderr,
            "zelvora: no display; start it on a desktop, under a virtual display (xvfb-run -a zelvora), "
            "or without windows (zelvora --headless)\n");
        return 1;
    }
    const auto config = loadConfiguration(options.configFile);
    if (!config)
        return 2;
    std::vector<char*> args = qtArguments(argc, argv);
    int count = static_cast<int>(args.size());
    if (qEnvironmentVariableIsSet("ZELVORA_OPENGL_PROBE"))
        return RenderChoice::probe(count, args.data());
    QApplication app(count, args.data());
    setUpApplication(app);
    if (SingleInstance::handOver(SingleInstance::defaultKey(), toQt(options.files), 2000))
        return 0;

    Session session({ options.profile, config, options.installServices, options.start });
    // Sound: without the hand-over (another program of the profile that does not answer, or
    // no safe socket folder) a second program would share the profile's files with the first.
    const auto profileLock = options.lockProfile ? options.lockProfile(session.app()) : nullptr;
    // A program that is still starting holds the lock before it listens: it gets a moment.
    for (int tries = 0; profileLock && profileLock->state() == platform::FileLock::Busy && tries < 10;
         ++tries) {
        QThread::msleep(300);
        if (SingleInstance::handOver(SingleInstance::defaultKey(), toQt(options.files), 2000))
            return 0;
    }
    // Sound: a lock that cannot be taken at all (a profile folder that cannot be made, a
    // read-only one) guards nothing either; the program says why and ends.
    if (profileLock && profileLock->state() != platform::FileLock::Held) {
        const bool busy = profileLock->state() == platform::FileLock::Busy;
        platform::MessageBoxRequest box;
        box.text = busy ? std::string(kProfileInUse) : kProfileUnusable + profileLock->error();
        box.icon = platform::Exclamation;
        std::fprintf(stderr, "zelvora: %s\n",
            busy ? "the profile is in use by another program"
                 : ("the profile cannot be locked: " + profileLock->error()).c_str());
        session.app().service<platform::Dialogs>().messageBox(box);
        return 3;
    }
    session.onProgramEnded = [] { QCoreApplication::exit(0); };
    installStartupProbe(session);
    const auto layoutReport = installLayoutReport(session);
    endOnRequest(&app, session, options.endProgram);
    session.startProgram();
    RenderChoice::start();
    sayWhenNoChineseFont(&app, session);
    SingleInstance instance;
    if (!acceptHandOvers(instance, session, options.openFiles))
        std::fprintf(stderr, "zelvora: second starts cannot hand their files to this program\n");
    const auto mpris = Mpris::start(session);
    if (!options.files.empty() && options.openFiles)
        session.run([&] { options.openFiles(session.app(), options.files); });
    return QApplication::exec();
}

} // namespace gui
