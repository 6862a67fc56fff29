#pragma once
// Kills the real program (headless console) with SIGKILL at random moments while it harvests
// songs out of the browser cache, or while it changes the skin picture and colour, and checks
// after every kill that each file it owns is whole, that no song was lost, and that the next
// start (a harvest again, in the harvest rounds) runs cleanly and makes no duplicate.
#include "kill/kill_harness.h"

namespace kill_testing {

enum class Work { Harvest, Skin };

// Runs rounds of the work until o.kills kills or o.maxSeconds; a harvest moves `songs` songs.
Outcome runWorkKills(const Options& o, Work work, int songs = 1000);

} // namespace kill_testing
