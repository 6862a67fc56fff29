// Qt WebEngine in the desktop program: it starts only when a shown browser gets a real page,
// and windows that used it give it back when they close. Opens and closes a window with a
// page several times (offscreen) and prints resident memory, pages alive and the engine's
// helper processes after each round.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

#include "assembly/program.h"
#include "gui/application.h"
#include "gui/browser_engine.h"
#include "gui/session.h"
#include "gui/web_module.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace {

// A window with a browser, as the web play window or the online music window has.
class PageWindow : public runtime::Form {
public:
    explicit PageWindow(runtime::App& app)
        : runtime::Form(app, "PageWindow")
    {
        setScaleMode(runtime::ScaleMode::Pixels);
        setWidth(800 * 15);
        setHeight(600 * 15);
        WebBrowser1.move(0, 0, 800, 600);
        WebBrowser1.onDocumentComplete = [this](const std::string&) { ++completed; };
    }
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    int completed = 0;
};

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// Processes whose parent is this one (Qt WebEngine's helper processes).
int childProcesses()
{
    const std::string self = std::to_string(QCoreApplication::applicationPid());
    int n = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        std::ifstream stat("/proc/" + entry.toStdString() + "/stat");
        std::string pid, name, state, ppid;
        if (stat >> pid >> name >> state >> ppid && ppid == self)
            ++n;
    }
    return n;
}

// Runs Qt's events until the condition holds or the time is up. Outside QApplication::exec
// objects given to deleteLater are deleted here, as the program's event loop would.
bool waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return condition();
}

void settle(int ms)
{
    waitFor([] { return false; }, ms);
}

void report(const char* when)
{
    std::printf("  %-28s %7.1f MiB   pages %d   widgets %d   helper processes %d\n", when,
        static_cast<double>(residentKiB()) / 1024.0, gui::DesktopBrowserEngine::livePages(),
        static_cast<int>(QApplication::allWidgets().size()), childProcesses());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    gui::setUpApplication(app);
    QTemporaryDir profile;
    auto config = std::make_shared<platform::Config>();
    gui::Session session(
        { profile.path().toStdString(), config, assembly::installDesktopServices, assembly::launchProgram });
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 6;

    std::printf("Qt WebEngine pages opened and closed (offscreen)\n");
    settle(200);
    report("before any page");
    std::string page = "<html><body>";
    for (int i = 0; i < 200; ++i)
        page += "<p><a href='http://127.0.0.1:9/" + std::to_string(i) + "'>链接 " + std::to_string(i)
            + "</a></p>";
    page += "</body></html>";
    long afterFirst = 0;
    for (int round = 1; round <= rounds; ++round) {
        auto& window = session.app().get<PageWindow>();
        session.run([&] {
            window.show();
            window.WebBrowser1.write(page);
        });
        if (!waitFor([&] { return window.completed > 0 && !window.WebBrowser1.busy(); }, 30000)) {
            std::fprintf(stderr, "web_pages: the page did not load\n");
            return 1;
        }
        if (round == 1)
            report("first page shown");
        session.run([&] { session.app().unload<PageWindow>(); });
        settle(1500);
        const std::string when = "after closing, round " + std::to_string(round);
        report(when.c_str());
        if (round == 2)
            afterFirst = residentKiB();
    }
    if (rounds > 2)
        std::printf("  growth from round 2 to %d: %.1f MiB\n", rounds,
            static_cast<double>(residentKiB() - afterFirst) / 1024.0);
    return 0;
}
