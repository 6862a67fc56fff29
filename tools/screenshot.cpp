// Starts the desktop program, runs a list of steps (press or click controls, wait) and writes
// PNG pictures of the windows on screen, for reviewers and bug reports.
//
//   zelvora_screenshot [--profile DIR] [--config FILE] --out DIR STEP...
//   steps: shot NAME | click WINDOW.CONTROL | type WINDOW.CONTROL TEXT | wait MS
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "assembly/program.h"
#include "gui/application.h"
#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/look.h"
#include "gui/renderer.h"
#include "gui/session.h"
#include "runtime/app.h"
#include "runtime/form.h"

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: zelvora_screenshot [--profile DIR] [--config FILE] --out DIR STEP...\n"
        "steps: shot NAME | click WINDOW.CONTROL | type WINDOW.CONTROL TEXT | wait MS\n");
    return 2;
}

// Lets the program run (timers, painting) for a while.
void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

// The windows on screen: the program's windows in the order the renderer shows them, then
// anything else of the program that is up (a message box, a menu, the tray stand-in).
std::vector<QWidget*> shownWindows(gui::Session& session)
{
    std::vector<QWidget*> out;
    for (gui::FormView* v : session.renderer().views()) {
        if (v->isVisible() && !v->isMinimized())
            out.push_back(v);
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->isMinimized() && std::find(out.begin(), out.end(), w) == out.end()
            && !dynamic_cast<gui::FormView*>(w))
            out.push_back(w);
    }
    return out;
}

// A picture of the windows on screen: the screen where there is one (an X server shows what a
// person would see), else the windows drawn one over the other at their places.
QImage capture(gui::Session& session)
{
    const auto views = shownWindows(session);
    QRect area;
    for (QWidget* v : views)
        area = area.united(v->frameGeometry());
    if (area.isEmpty())
        return QImage();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (QGuiApplication::platformName() != QLatin1String("offscreen") && screen)
        return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    QImage image(area.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (QWidget* v : views)
        painter.drawPixmap(v->geometry().topLeft() - area.topLeft(), v->grab());
    return image;
}

// The widget of WINDOW.CONTROL, or nullptr (reported).
QWidget* findControl(gui::Session& session, const std::string& target)
{
    const auto dot = target.find('.');
    runtime::Form* form
        = dot == std::string::npos ? nullptr : session.app().loadedForm(target.substr(0, dot));
    runtime::Control* control = form ? form->control(target.substr(dot + 1)) : nullptr;
    gui::FormView* view = form ? session.renderer().viewOf(*form) : nullptr;
    gui::ControlView* cv = view && control ? view->viewOf(*control) : nullptr;
    if (!cv)
        std::fprintf(stderr, "zelvora_screenshot: no control %s on screen\n", target.c_str());
    return cv ? cv->widget() : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    std::string profile, configFile, out;
    std::vector<std::string> steps;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--profile" || arg == "--config" || arg == "--out") && i + 1 < argc) {
            (arg == "--profile" ? profile : arg == "--config" ? configFile : out) = argv[++i];
        } else {
            steps.push_back(arg);
        }
    }
    if (out.empty() || steps.empty())
        return usage();
    const auto config = gui::loadConfiguration(configFile);
    if (!config)
        return 2;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    gui::setUpApplication(app);
    QDir().mkpath(QString::fromStdString(out));

    gui::Session session({ profile, config, assembly::installDesktopServices, assembly::launchProgram });
    session.startProgram();
    settle(500);
    int failures = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        const std::string& verb = steps[i];
        const std::string value = i + 1 < steps.size() ? steps[++i] : std::string();
        if (verb == "wait") {
            settle(std::atoi(value.c_str()));
        } else if (verb == "shot") {
            settle(200);
            const QString file = QString::fromStdString(out + "/" + value + ".png");
            const QImage image = capture(session);
            if (image.isNull() || !image.save(file)) {
                std::fprintf(stderr, "zelvora_screenshot: could not write %s\n", qPrintable(file));
                ++failures;
            } else {
                std::printf("%s\n", qPrintable(file));
            }
        } else if (verb == "click") {
            QWidget* w = findControl(session, value);
            if (!w) {
                ++failures;
                continue;
            }
            // Press and release: tiles react to the press, buttons to the click.
            QTest::mousePress(w, Qt::LeftButton, {}, w->rect().center());
            QTest::mouseRelease(w, Qt::LeftButton, {}, w->rect().center());
        } else if (verb == "type" && i + 1 < steps.size()) {
            // Keys typed into a control, after a click into it.
            const QString text = QString::fromStdString(steps[++i]);
            QWidget* w = findControl(session, value);
            if (!w) {
                ++failures;
                continue;
            }
            QWidget* edit = w->findChild<QLineEdit*>();
            if (!edit)
                edit = w->findChild<QPlainTextEdit*>();
            if (!edit)
                edit = w;
            QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
            QTest::keyClicks(edit, text);
        } else {
            return usage();
        }
    }
    return failures == 0 ? 0 : 1;
}
