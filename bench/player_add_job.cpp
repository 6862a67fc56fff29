// The player's add job on a dropped file whose folder holds 10,000 music files: into an
// empty music playlist, and into one that already holds 100,000 entries.
#include <fstream>

#include "player/player_window.h"
#include "player_bench.h"

using namespace player_bench;

namespace {

constexpr int kFolderFiles = 10000;
constexpr int kRuns = 5;

// One run of the add job on a fresh profile; the playlist is written before the timing.
double addJobSeconds(const std::filesystem::path& root, const std::string& folder, int listed, int run)
{
    const std::filesystem::path profile
        = root / ("profile-" + std::to_string(listed) + "-" + std::to_string(run));
    writeMusicPlaylist(profile, listed, "UTF-8");
    Program program(profile.string());
    player::Form5& player = program.app.get<player::Form5>();
    player.Text4.setText(folder + "/song-00000.mp3");
    const auto start = std::chrono::steady_clock::now();
    player.Timer6_Timer();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (player.List1.listCount() != listed + kFolderFiles)
        std::printf("  unexpected list length %d\n", player.List1.listCount());
    std::error_code ec;
    std::filesystem::remove_all(profile, ec);
    return seconds;
}

} // namespace

int main()
{
    Scratch scratch;
    const std::filesystem::path folder = scratch.path() / "music";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kFolderFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "song-%05d.mp3", i);
        std::ofstream(folder / name) << "x";
    }
    for (int listed : { 0, 100000 }) {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run)
            times.push_back(addJobSeconds(scratch.path(), folder.string(), listed, run));
        std::sort(times.begin(), times.end());
        const std::string what = "add job, 10,000 files, " + std::to_string(listed) + " listed";
        reportAbsolute(what.c_str(), times[times.size() / 2], 300);
    }
    return 0;
}
