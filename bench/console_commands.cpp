// How long the headless console takes for a 10,000-command script against the real program,
// beside the same work done by calling the windows directly (the console's own overhead is
// the difference: splitting lines, finding windows by name, printing).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "assembly/program.h"
#include "assembly/services.h"
#include "console/console.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "runtime/controls.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 1000;

// Ten commands a round: tile switches, mouse moves, reads, checks, listings and time passing.
const char* const kRound = "mousedown moban.Label7 left\n"
                           "expect moban.qied \"在线影音\"\n"
                           "get Form5.top\n"
                           "mousemove moban 10 10\n"
                           "mousedown moban.Label6 left\n"
                           "expect Form1.visible \"true\"\n"
                           "get moban.Label6.fontBold\n"
                           "forms\n"
                           "wait 10\n"
                           "echo marker\n";

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs a script through the console with its output going to /dev/null, as a terminal-less
// CI run would; returns the wall time and the exit status.
double runScript(const std::string& profile, const std::string& script, int& status)
{
    console::ConsoleOptions options;
    options.profile = profile;
    std::istringstream in(script);
    std::ofstream sink("/dev/null");
    const auto start = Clock::now();
    status = console::runConsole(options, in, sink);
    return millisecondsSince(start);
}

// The same rounds done by calling the windows directly.
double runDirect(const std::string& profile)
{
    const auto start = Clock::now();
    runtime::App app;
    assembly::ServiceOptions options;
    options.profile = profile;
    options.headless = true;
    assembly::installServices(app, std::make_shared<platform::Config>(), options);
    assembly::registerWindows(app);
    assembly::startProgram(app);
    size_t seen = 0;
    runtime::MouseEvent left;
    for (int i = 0; i < kRounds; ++i) {
        runtime::Form* hub = app.loadedForm("moban");
        hub->control("Label7")->mouseDown(left);
        seen += hub->control("qied")->property("text")->size();
        seen += app.loadedForm("Form5")->property("top")->size();
        hub->mouseMove(runtime::MouseEvent { 0, 0, 10, 10 });
        hub->control("Label6")->mouseDown(left);
        seen += app.loadedForm("Form1")->property("visible")->size();
        seen += hub->control("Label6")->property("fontBold")->size();
        for (runtime::Form* f : app.forms())
            seen += f->name().size();
        app.advance(10);
    }
    const double ms = millisecondsSince(start);
    if (seen == 0)
        std::printf("(nothing read)\n");
    return ms;
}

} // namespace

int main()
{
    const fs::path profile
        = fs::temp_directory_path() / ("zelvora-bench-console-" + std::to_string(getpid()));
    std::string script;
    for (int i = 0; i < kRounds; ++i)
        script += kRound;

    int status = 0;
    const double startOnly = runScript((profile / "a").string(), "", status);
    const double console = runScript((profile / "b").string(), script, status);
    const int scriptStatus = status;
    const double direct = runDirect((profile / "c").string());
    std::error_code ec;
    fs::remove_all(profile, ec);

    const int commands = kRounds * 10;
    std::printf("console: %d commands in %.1f ms including start-up (%.1f ms), exit status %d\n", commands,
        console, startOnly, scriptStatus);
    std::printf("console: %.2f us per command after start-up; limit 2000 ms for the whole run: %s\n",
        (console - startOnly) * 1000.0 / commands, console < 2000.0 ? "met" : "NOT MET");
    std::printf("baseline (same work calling the windows directly): %.1f ms; console / baseline = %.2f\n",
        direct, direct > 0 ? console / direct : 0.0);
    return scriptStatus;
}
