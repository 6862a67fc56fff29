#pragma once
// A program started with its output captured, polled without blocking.
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/commands.h"

namespace platform {

class ChildProcess : public RunningCommand {
public:
    // Starts args[0], looked up on PATH, in its own process group, with the C locale's words in
    // UTF-8 (C.UTF-8), so its words are the ones a parser expects and names keep their
    // characters. Nothing when it cannot be started (result says why).
    static std::unique_ptr<ChildProcess> start(const std::vector<std::string>& args, CommandResult& result);
    // Stops the process group if the program still runs, and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads what output is ready; true once the program has ended.
    bool poll() override;
    // The result once poll() returned true.
    [[nodiscard]] const CommandResult& result() const override { return m_result; }
    // The process id (also its process group's).
    [[nodiscard]] pid_t pid() const { return m_pid; }

private:
    ChildProcess() = default;
    void drain();

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    bool m_ended = false;
    CommandResult m_result;
};

// The helper programs as child processes of this program.
class PosixCommands : public Commands {
public:
    std::unique_ptr<RunningCommand> start(
        const std::vector<std::string>& args, CommandResult& result) override;
};

// Whether a program of this name is found on PATH.
bool onPath(const std::string& program);

} // namespace platform
