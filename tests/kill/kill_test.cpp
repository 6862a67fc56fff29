// The kill test: SIGKILLs the real program at random moments while it writes its playlists
// and settings, and fails when any kill leaves a pair or the settings file torn.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kill/kill_harness.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kill_test ZELVORA OFFLINE_CONFIG [KILLS [SECONDS]]\n");
        return 2;
    }
    kill_testing::Options o;
    o.program = argv[1];
    o.config = argv[2];
    o.kills = argc > 3 ? std::atoi(argv[3]) : 120;
    // Well inside the test's time-out, whatever the machine's load.
    o.maxSeconds = argc > 4 ? std::atof(argv[4]) : 90;
    o.folders = 2;
    o.filesPerFolder = 1500;
    o.verbose = std::getenv("KILL_TEST_VERBOSE") != nullptr;
    const kill_testing::Outcome out = kill_testing::runKillRounds(o);
    std::printf("rounds %d, kills %d, inconsistent %d, %.1f s, whole round %.0f ms\n", out.rounds, out.kills,
        out.inconsistent, out.seconds, out.meanRoundMs);
    for (const std::string& p : out.problems)
        std::printf("  %s\n", p.c_str());
    if (out.kills == 0) {
        std::printf("no round was killed\n");
        return 1;
    }
    return out.inconsistent == 0 ? 0 : 1;
}
