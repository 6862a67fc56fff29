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

    ~StepJob() override;

    // Queues a command at the end; then runs with its result (also when it could not start).
    void add(std::vector<std::string> args, Then then);
    // Queues a command to run before every queued step (a handler queues its follow-up so).
    void addNext(std::vector<std::string> args, Then then);
    // Queues work done in place, without a process.
    void addWork(std::function<void()> work);
    // Records a step that failed, in plain words.
    void fail(std::string words);
    // Records what the job did besides, in plain words.
    void note(std::string words);
    // Work done once when the job ends or is dropped before its end (removing its files).
    void atEnd(std::function<void()> work);

    bool poll() override;
    [[nodiscard]] const JobOutcome& outcome() const override { return m_outcome; }

private:
    struct Step {
        std::vector<std::string> args;
        Then then;
        std::function<void()> work;
    };
    std::deque<Step> m_steps;
    std::unique_ptr<ChildProcess> m_child;
    JobOutcome m_outcome;
    std::function<void()> m_atEnd;
    bool m_ended = false;
};

// The authorisations NetworkManager asks for: changing a saved connection, switching
// connections, and sharing the Internet over a protected WiFi.
inline constexpr const char* kModifySystem = "org.freedesktop.NetworkManager.settings.modify.system";
inline constexpr const char* kNetworkControl = "org.freedesktop.NetworkManager.network-control";
inline constexpr const char* kShareProtected = "org.freedesktop.NetworkManager.wifi.share.protected";

// The plain-words reason a NetworkManager command failed: not running, no permission (naming
// the authorisation that was missing), a setting this connection does not allow, a
// connection or device not found, no card able to do it; otherwise nmcli's own words.
std::string nmcliTrouble(const CommandResult& r);
// The fields of one line of nmcli's terse output (":" separates, "\" escapes).
std::vector<std::string> terseFields(const std::string& line);
// The value of one field in nmcli's terse multi-line output ("FIELD:value" lines; nmcli does
// not escape these values); empty when the field is not there.
std::string terseValue(const std::string& out, const std::string& field);
// The lines of a command's output.
std::vector<std::string> outputLines(const std::string& out);

} // namespace platform
