#pragma once
// Running a helper program (a page resolver, a media joiner) from a window: the window keeps
// painting and answering clicks while the program works, within a time limit.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace runtime {
class App;
}

namespace common {

// What a helper program did.
struct ToolRun {
    // False when it could not be started (not installed).
    bool started = false;
    // It ended by itself (exitCode holds its code).
    bool ended = false;
    // It was stopped: the time limit passed, or the caller gave up.
    bool timedOut = false;
    int exitCode = -1;
    std::string out;
    std::string err;
    // Whether it ended by itself with code 0.
    [[nodiscard]] bool ok() const { return ended && exitCode == 0; }
};

// Runs args (args[0] the program) and pumps the app's events until it ends. It is stopped
// when limitMs have passed or keepGoing (when given) returns false.
ToolRun runTool(runtime::App& app, const std::vector<std::string>& args, int64_t limitMs,
    const std::function<bool()>& keepGoing = {});

// The last line of a program's error output that says something (blank lines skipped), at
// most 300 characters; empty when there is none.
std::string lastErrorLine(const std::string& err);

} // namespace common
