#pragma once
// A network job made of steps run one after another: each step is a command whose result a
// handler reads (and may queue further steps from), or a piece of work done in place.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/network_jobs.h"
#include "platform/posix/child_process.h"

namespace platform {

class StepJob : public NetworkJob {
public:
    using Then = std::function<void(const CommandResult&)>;

    // Queues a command at the end; then runs with its result (also when it could not start).
    void add(std::vector<std::string> args, Then then);
    // Queues a command to run before every queued step (a handler queues its follow-up so).
    void addNext(std::vector<std::string> args, Then then);
    // Queues work done in place, without a process.
    void addWork(std::function<void()> work);
    // Records a step that failed, in plain words.
    void fail(std::string words);

    bool poll() override;
    const JobOutcome& outcome() const override { return m_outcome; }

private:
    struct Step {
        std::vector<std::string> args;
        Then then;
        std::function<void()> work;
    };
    std::deque<Step> m_steps;
    std::unique_ptr<ChildProcess> m_child;
    JobOutcome m_outcome;
    bool m_ended = false;
};

// The plain-words reason a NetworkManager command failed.
std::string nmcliTrouble(const CommandResult& r);
// The fields of one line of nmcli's terse output (":" separates, "\" escapes).
std::vector<std::string> terseFields(const std::string& line);
// The lines of a command's output.
std::vector<std::string> outputLines(const std::string& out);

} // namespace platform
