// A playlist of 100,000 entries on screen: how long the front end takes to show the list
// after the window changes it (replace every entry, choose one, change one entry), beside
// the same change made with the window not shown (the runtime's own share).
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "assembly/program.h"
#include "gui/application.h"
#include "gui/session.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace {

class ListWindow : public runtime::Form {
public:
    explicit ListWindow(runtime::App& app)
        : runtime::Form(app, "ListWindow")
    {
        setScaleMode(runtime::ScaleMode::Pixels);
        setWidth(400 * 15);
        setHeight(600 * 15);
        List1.move(0, 0, 400, 600);
    }
    runtime::ListBox List1 { *this, "List1" };
};

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    QApplication::processEvents();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gui::setUpApplication(app);
    QTemporaryDir profile;
    gui::Session session({ profile.path().toStdString(), std::make_shared<platform::Config>(),
        assembly::installDesktopServices, assembly::launchProgram });
    auto& window = session.app().get<ListWindow>();
    std::vector<std::string> entries;
    for (int i = 0; i < 100000; ++i)
        entries.push_back(">第" + std::to_string(i) + "首歌曲.mp3");
    struct Step {
        const char* name;
        std::function<void()> before;
        std::function<void()> work;
    };
    const Step steps[] = {
        { "replace all entries", [&] { window.List1.setItems({}); },
            [&] { window.List1.setItems(entries); } },
        { "choose entry 50,000", [&] { window.List1.setItems(entries); },
            [&] { window.List1.setListIndex(50000); } },
        { "change one entry", [&] { window.List1.setItems(entries); },
            [&] { window.List1.setList(7, ">改名.mp3"); } },
    };
    std::printf("a list box of 100,000 entries (offscreen)\n");
    std::printf("  %-22s %12s %12s\n", "", "shown", "not shown");
    for (const Step& step : steps) {
        // The same change in a hidden window first (the runtime's own share), then shown.
        double took[2] = { 0, 0 };
        for (bool shown : { false, true }) {
            session.run([&] {
                if (shown)
                    window.show();
                else
                    window.hide();
                step.before();
            });
            QApplication::processEvents();
            took[shown] = timeMs([&] { session.run(step.work); });
        }
        std::printf("  %-22s %9.1f ms %9.1f ms\n", step.name, took[1], took[0]);
    }
    return 0;
}
