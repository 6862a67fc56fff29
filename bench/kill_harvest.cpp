// The 1,000-kill run of the song harvest and the skin change: SIGKILLs the real program at
// random moments while it harvests 1,000 songs or changes the skin, and counts the kills
// after which a file was torn, a song lost, or the next harvest made a duplicate (goal 0).
//
//   bench_kill_harvest [ZELVORA [KILLS]]
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "kill/kill_harvest.h"

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    kill_testing::Options o;
    o.program = argc > 1 ? argv[1] : (fs::path(argv[0]).parent_path() / ".." / "app" / "zelvora").string();
    o.config = ZELVORA_SOURCE_DIR "/tests/scripts/offline.cfg";
    const int kills = argc > 2 ? std::atoi(argv[2]) : 1000;
    o.maxSeconds = 1e9;
    o.verbose = std::getenv("KILL_TEST_VERBOSE") != nullptr;
    int inconsistent = 0;
    for (const auto work : { kill_testing::Work::Harvest, kill_testing::Work::Skin }) {
        o.kills = work == kill_testing::Work::Harvest ? kills / 2 : kills - kills / 2;
        const kill_testing::Outcome out = kill_testing::runWorkKills(o, work);
        std::printf("%s: %d kills in %d rounds (%.0f s, whole round %.0f ms), inconsistent states: %d\n",
            work == kill_testing::Work::Harvest ? "harvest of 1000 songs" : "skin change", out.kills,
            out.rounds, out.seconds, out.meanRoundMs, out.inconsistent);
        for (const std::string& p : out.problems)
            std::printf("  %s\n", p.c_str());
        inconsistent += out.inconsistent;
    }
    return inconsistent == 0 ? 0 : 1;
}
