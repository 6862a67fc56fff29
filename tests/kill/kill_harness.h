#pragma once
// Kills the real program (headless console) with SIGKILL at random moments while it adds
// folders to the playlists, deletes entries and applies settings, and checks after every
// kill that each playlist pair and the settings file are a whole old or new version and that
// the next start shows the same entries.
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

} // namespace kill_testing
