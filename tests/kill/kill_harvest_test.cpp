// The kill test of the harvest and the skin change: fails when any kill tears a file the
// program owns, loses a song, or makes the next start fail or copy a song twice.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kill/kill_harvest.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(
            stderr, "usage: kill_harvest_test ZELVORA OFFLINE_CONFIG harvest|skin [KILLS [SECONDS]]\n");
        return 2;
    }
    kill_testing::Options o;
    o.program = argv[1];
    o.config = argv[2];
    const std::string work = argv[3];
    o.kills = argc > 4 ? std::atoi(argv[4]) : 15;
    o.maxSeconds = argc > 5 ? std::atof(argv[5]) : 40;
    o.seed = 22;
    o.verbose = std::getenv("KILL_TEST_VERBOSE") != nullptr;
    return kill_testing::report(work,
        kill_testing::runWorkKills(
            o, work == "skin" ? kill_testing::Work::Skin : kill_testing::Work::Harvest));
}
