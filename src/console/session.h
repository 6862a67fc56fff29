#pragma once
// The command interpreter of the automation console: runs script lines against a started
// program, acting as a person would and printing what a tester observes.
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_cookies.h"
#include "console/console_host.h"
#include "console/targets.h"
#include "runtime/control.h"

namespace runtime {
class App;
class CallLog;
} // namespace runtime

namespace console {

// The words of a command after its name.
using Words = std::vector<std::string>;

// Runs commands against one app and keeps what the run has seen: failures, popped-up menus,
// mouse buttons held down.
class Session {
public:
    // What a mouse command does with the button.
    enum class MouseAction { Down, Move, Up };

    // Becomes the app's host for its lifetime, so popups and the program's end are seen from
    // the start-up on.
    Session(runtime::App& app, std::ostream& out);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs one line. False when the console stops reading (quit, or the program ended).
    bool runLine(std::string_view line);
    // Runs lines until the input ends or the console stops; returns the exit status.
    int run(std::istream& in);
    // Prints "program ended" once the program has ended itself; true when it has.
    bool reportEnd();
    // 0 when every expect held and no command failed, 1 otherwise.
    [[nodiscard]] int exitStatus() const { return m_failed ? 1 : 0; }

private:
    struct Command;
    static const std::vector<Command>& commands();

    void print(std::string_view line);
    void fail(std::string_view why);
    // The target of a mouse or keyboard command; its error is set (and printed) when a person
    // could not reach it.
    Target reachable(std::string_view address, bool allowWindow);
    // A loaded window's control of the given kind (the window need not be reachable), or
    // nullptr after printing why there is none.
    runtime::Control* loadedControl(
        std::string_view address, runtime::ControlKind kind, std::string_view what);

    // Milliseconds of virtual time, or nothing after printing why the word is not that.
    std::optional<int64_t> spanOf(std::string_view command, std::string_view word);

    // The index of an entry of a list, or nothing after printing why the word is not one.
    std::optional<int> entryIndex(const runtime::Control& list, std::string_view word);

    // Prints and forgets the calls an engine-backed control has logged.
    void printLog(runtime::CallLog& log);

    void click(const Words& args);
    void dblclick(const Words& args);
    void select(const Words& args);
    void mousedown(const Words& args);
    void mouseup(const Words& args);
    void mousemove(const Words& args);
    void mouse(const Words& args, MouseAction action);
    void type(const Words& args);
    void scroll(const Words& args);
    void drop(const Words& args);
    void menu(const Words& args);
    void tray(const Words& args);
    void answer(const Words& args);
    void cookie(const Words& args);
    void media(const Words& args);
    void wait(const Words& args);
    void idle(const Words& args);
    void get(const Words& args);
    void expect(const Words& args);
    void forms(const Words& args);
    void messages(const Words& args);
    void launches(const Words& args);
    void notices(const Words& args);
    void mediaLog(const Words& args);
    void browserLog(const Words& args);
    void popups(const Words& args);
    void echo(const Words& args);
    void quit(const Words& args);

    runtime::App& m_app;
    std::ostream& m_out;
    ConsoleHost m_host;
    bool m_failed = false;
    bool m_quit = false;
    bool m_endReported = false;
    // The cookies the script has set, given to the app at the first one.
    std::shared_ptr<ConsoleCookies> m_cookies;
    // Mouse buttons held down, as a mouse-move reports them.
    int m_buttons = 0;
};

} // namespace console
