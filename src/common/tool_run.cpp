#include "common/tool_run.h"

#include <chrono>
#include <thread>

#include "platform/commands.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace common {

ToolRun runTool(runtime::App& app, const std::vector<std::string>& args, int64_t limitMs,
    const std::function<bool()>& keepGoing)
{
    using Clock = std::chrono::steady_clock;
    ToolRun run;
    platform::CommandResult result;
    std::unique_ptr<platform::RunningCommand> command;
    if (app.hasService<platform::Commands>())
        command = app.service<platform::Commands>().start(args, result);
    if (!command) {
        run.err = result.err;
        return run;
    }
    run.started = true;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        if (command->poll()) {
            run.ended = true;
            break;
        }
        if (Clock::now() >= deadline || (keepGoing && !keepGoing())) {
            run.timedOut = true;
            break;
        }
        app.doEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exitCode = command->result().exitCode;
    run.out = command->result().out;
    run.err = command->result().err;
    // Dropping the command stops a program that is still running.
    return run;
}

std::string lastErrorLine(const std::string& err)
{
    size_t end = err.size();
    while (end > 0) {
        const size_t start = err.rfind('\n', end - 1);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        std::string line = err.substr(from, end - from);
        std::erase(line, '\r');
        line = vb::Trim(line);
        if (!line.empty())
            return vb::Left(line, 300);
        if (start == std::string::npos)
            break;
        end = start;
    }
    return {};
}

} // namespace common
