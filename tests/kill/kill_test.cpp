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
    return kill_testing::report("playlists", kill_testing::runKillRounds(o));
}
