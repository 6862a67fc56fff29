#pragma once
// What the player benchmarks share: a scratch user profile holding a large music playlist,
// the program assembled as the headless console assembles it, and timing.
#include "bench_support.h"
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assembly/program.h"
#include "assembly/services.h"
#include "platform/config.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "traymenu/tray_window.h"

namespace player_bench {

// Seconds of one call of work: the median of `runs` calls.
inline double medianSeconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Prints one measured line: the figure, its baseline and the ratio against the limit.
inline void report(const char* what, double seconds, double baseline, double limitRatio)
{
    const double ratio = seconds / baseline;
    std::printf("%-44s %9.2f ms   baseline %9.2f ms   ratio %5.2f (limit %.1f) %s\n", what, seconds * 1e3,
        baseline * 1e3, ratio, limitRatio, ratio <= limitRatio ? "ok" : "OVER");
}

// Prints one measured line against an absolute limit.
inline void reportAbsolute(const char* what, double seconds, double limitMs)
{
    std::printf("%-44s %9.2f ms   (limit %.0f ms) %s\n", what, seconds * 1e3, limitMs,
        seconds * 1e3 <= limitMs ? "ok" : "OVER");
}

using bench::Scratch;

// Entry i of the large playlist: a path of about 80 characters (every third one in Chinese)
// and its display name.
inline std::pair<std::string, std::string> entry(int i)
{
    const std::string n = std::to_string(i);
    std::string folder;
    std::string file;
    if (i % 3 == 0) {
        folder = "/home/listener/音乐收藏/华语流行金曲/经典老歌精选集第" + std::to_string(i % 97) + "辑";
        file = "歌手演唱的好听歌曲第" + n + "首.mp3";
    } else {
        folder = "/home/listener/Music/Collected Artists/Band Number " + std::to_string(i % 89)
            + "/Greatest Hits";
        file = "track-" + n + "-remaster.mp3";
    }
    return { folder + "/" + file, ">" + file };
}

// Writes the music playlist of `count` entries into a profile's data folder.
inline void writeMusicPlaylist(const std::filesystem::path& profile, int count, const std::string& codePage)
{
    const std::filesystem::path temp = profile / "my documents" / "zelv" / "Temp";
    std::filesystem::create_directories(temp);
    std::vector<std::string> paths;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        auto [path, name] = entry(i);
        paths.push_back(std::move(path));
        names.push_back(std::move(name));
    }
    if (!platform::writeLines((temp / "mpath.ini").string(), paths, codePage)
        || !platform::writeLines((temp / "mname.ini").string(), names, codePage)) {
        std::fprintf(stderr, "the benchmark's playlist files cannot be written in %s\n", temp.c_str());
        std::exit(1);
    }
}

// The program as the headless console runs it, on a given profile, with the tray window
// loaded (as it is by start-up before any player opens).
class Program {
public:
    explicit Program(const std::string& profile)
    {
        auto config = std::make_shared<platform::Config>();
        config->set("codepage", "UTF-8");
        assembly::ServiceOptions options;
        options.profile = profile;
        options.headless = true;
        assembly::installServices(app, config, options);
        assembly::registerWindows(app);
        app.get<traymenu::Form6>();
    }
    runtime::App app;
};

} // namespace player_bench
