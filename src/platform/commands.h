#pragma once
// Programs the windows run as helpers (a page resolver, a media joiner): started with an
// argument list, never through a shell, their output captured and polled without blocking.
#include <memory>
#include <string>
#include <vector>

namespace platform {

// What a finished command did.
struct CommandResult {
    // False when the program could not be started (not found, not executable).
    bool started = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A started command. Destroying it stops the program (and what it started) if it still runs.
class RunningCommand {
public:
    virtual ~RunningCommand() = default;
    // Reads what output is ready; true once the program has ended.
    virtual bool poll() = 0;
    // The result once poll() returned true.
    [[nodiscard]] virtual const CommandResult& result() const = 0;
};

class Commands {
public:
    virtual ~Commands() = default;
    // Starts args[0] (a path, or a name looked up on PATH) with the other arguments. Nothing
    // when it cannot be started; result then says why.
    virtual std::unique_ptr<RunningCommand> start(const std::vector<std::string>& args, CommandResult& result)
        = 0;
};

} // namespace platform
