#pragma once
// Kills the real program (headless console) with SIGKILL at random moments while it adds
// folders to the playlists, deletes entries and applies settings, and checks after every
// kill that each playlist pair and the settings file are a whole old or new version and that
// the next start shows the same entries.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kill_testing {

struct Options {
    std::string program; // the zelvora executable
    std::string config; // an offline configuration for it
    int kills = 100; // stop after this many kills...
    double maxSeconds = 100; // ...or after this long
    int folders = 2; // media folders of each kind (music, video)
    int filesPerFolder = 1500;
    int deletesPerRound = 10;
    unsigned seed = 12;
    bool verbose = false;
};

struct Outcome {
    int rounds = 0;
    int kills = 0; // rounds whose program died by the signal
    int inconsistent = 0; // kills after which a check failed
    double seconds = 0;
    double meanRoundMs = 0; // a whole round without a kill
    std::vector<std::string> problems; // the first few failures, in words
};

// Runs rounds until the kill count or the time is reached.
Outcome runKillRounds(const Options& options);

// One kind of round: prepare writes the script of round n (from 0), check judges what round
// n left (killed or whole) and says what is wrong, or nothing.
struct Round {
    std::filesystem::path script;
    std::function<void(int n)> prepare;
    std::function<std::string(int n)> check;
};
// Runs the program on profile with the round's script until o.kills kills or o.maxSeconds:
// the first round runs whole to learn a round's length, the others are killed at a random
// moment within it.
Outcome killRounds(const Options& o, const std::filesystem::path& profile, const Round& round);

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point start);
std::string readAll(const std::filesystem::path& path, bool* exists = nullptr);
// One started program: its process and the file its output goes to.
struct Run {
    pid_t pid = -1;
    std::filesystem::path output;
};
// Starts the program headless on profile with o.config and the script.
Run start(const Options& o, const std::filesystem::path& profile, const std::filesystem::path& script,
    const std::filesystem::path& output);
// Waits for the program; true when it died by SIGKILL.
bool reap(pid_t pid);
// Runs a program to its end within a minute; false when it had to be killed.
bool runToEnd(const Run& run);

// Prints what a run of rounds found and gives the test's exit status: a failure when no round
// was killed or any kill left something inconsistent.
int report(const std::string& what, const Outcome& out);

} // namespace kill_testing
