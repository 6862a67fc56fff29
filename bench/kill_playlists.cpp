// The 1,000-kill run: SIGKILLs the real program at random moments while it adds folders,
// deletes entries and applies settings, and counts the kills after which a playlist pair or
// the settings file was torn (goal 0). Baseline in the same run: the same kills against the
// two files written one after the other (each atomically, but not together), and the time
// of one committed rewrite against that of the two plain rewrites.
//
//   bench_kill_playlists [ZELVORA [KILLS [ENTRIES_PER_FOLDER]]]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "kill/kill_harness.h"
#include "platform/textfile.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The two files of a list of n entries, from index `from` on.
std::vector<platform::FileContent> pairOf(const bench::Scratch& s, int from, int n)
{
    std::string names;
    std::string paths;
    for (int i = from; i < n; ++i) {
        names += ">f" + std::to_string(i) + ".mp3\r\n";
        paths += "/media/m/f" + std::to_string(i) + ".mp3\r\n";
    }
    return { { s.file("mpath.ini"), paths }, { s.file("mname.ini"), names } };
}

// Whether the pair on disk is aligned: as many names as paths, each the path's own name.
bool aligned(const bench::Scratch& s)
{
    std::istringstream names(readAll(s.file("mname.ini")));
    std::istringstream paths(readAll(s.file("mpath.ini")));
    std::string n;
    std::string p;
    for (;;) {
        const bool hasName = static_cast<bool>(std::getline(names, n));
        const bool hasPath = static_cast<bool>(std::getline(paths, p));
        if (hasName != hasPath)
            return false;
        if (!hasName)
            return true;
        if (n.substr(1) != p.substr(p.rfind('/') + 1))
            return false;
    }
}

// Kills a child that keeps deleting the first entry with two separate atomic rewrites.
int baselineKills(int kills, int entries, unsigned seed)
{
    bench::Scratch s;
    std::mt19937 rng(seed);
    int torn = 0;
    for (int k = 0; k < kills; ++k) {
        for (const auto& f : pairOf(s, 0, entries))
            std::ignore = platform::writeFileAtomic(f.path, f.bytes); // a failure shows as a torn pair
        const pid_t child = fork();
        if (child == 0) {
            for (int from = 1; from < entries; ++from) {
                for (const auto& f : pairOf(s, from, entries))
                    std::ignore = platform::writeFileAtomic(f.path, f.bytes);
            }
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + rng() % 20000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        torn += aligned(s) ? 0 : 1;
    }
    return torn;
}

// Milliseconds per rewrite of a pair of `entries` lines: committed together, and as two
// plain atomic rewrites.
std::pair<double, double> rewriteTimes(int entries, int rounds)
{
    bench::Scratch s;
    const auto pair = pairOf(s, 0, entries);
    auto begin = Clock::now();
    for (int i = 0; i < rounds; ++i)
        std::ignore = platform::commitTogether(s.file(".mlist.commit"), pair); // timed as it is
    const double together = std::chrono::duration<double, std::milli>(Clock::now() - begin).count() / rounds;
    begin = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        for (const auto& f : pair)
            std::ignore = platform::writeFileAtomic(f.path, f.bytes);
    }
    const double plain = std::chrono::duration<double, std::milli>(Clock::now() - begin).count() / rounds;
    return { together, plain };
}

} // namespace

int main(int argc, char** argv)
{
    kill_testing::Options o;
    o.program = argc > 1 ? argv[1] : (fs::path(argv[0]).parent_path() / ".." / "app" / "zelvora").string();
    o.config = ZELVORA_SOURCE_DIR "/tests/scripts/offline.cfg";
    o.kills = argc > 2 ? std::atoi(argv[2]) : 1000;
    o.maxSeconds = 1e9;
    o.folders = 2;
    o.filesPerFolder = argc > 3 ? std::atoi(argv[3]) : 15000;
    o.seed = 1000;
    o.verbose = std::getenv("KILL_TEST_VERBOSE") != nullptr;
    const kill_testing::Outcome out = kill_testing::runKillRounds(o);
    std::printf("zelvora: %d kills in %d rounds (%.0f s, whole round %.0f ms), inconsistent states: %d\n",
        out.kills, out.rounds, out.seconds, out.meanRoundMs, out.inconsistent);
    for (const std::string& p : out.problems)
        std::printf("  %s\n", p.c_str());

    const int baseline = baselineKills(o.kills, 2000, o.seed);
    std::printf(
        "baseline (two separate atomic rewrites): %d kills, inconsistent states: %d\n", o.kills, baseline);
    const auto [together, plain] = rewriteTimes(30000, 50);
    std::printf(
        "rewrite of a 30000-entry pair: committed together %.2f ms, two plain rewrites %.2f ms, ratio %.2f\n",
        together, plain, plain > 0 ? together / plain : 0.0);
    return out.inconsistent == 0 ? 0 : 1;
}
