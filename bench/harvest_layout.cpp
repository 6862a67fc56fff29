// The song harvest over a cache in the designed folder layout: 1,000 cached files in 10
// subfolders, 100 of them songs of 4 MiB. The harvest (copies under unique names, the check
// of each copy, the search for songs with the same bytes, removal of the originals and the
// notes file) beside a plain `cp` of the same 100 songs, measured in the same run.
// Then the growth with the cache: 20,000 small songs in one subfolder (every copy wants the
// same name) beside ten harvests of 2,000 such songs each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "assembly/program.h"
#include "assembly/services.h"
#include "bench_support.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "video/harvest_window.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 10;
constexpr int kFilesPerFolder = 100;
constexpr int kSongsPerFolder = 10;
constexpr size_t kSongBytes = 4u << 20;
constexpr int kRuns = 5;
constexpr double kLimitRatio = 1.5;
constexpr int kSmallSongs = 20000;
constexpr int kSmallRuns = 10;
constexpr double kGrowthLimit = 3;

void writeFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The pristine cache: songs of distinct random bytes among small page files.
std::vector<fs::path> makePristine(const fs::path& root)
{
    std::mt19937_64 random(7);
    std::vector<fs::path> songs;
    const char* kinds[] = { ".htm", ".js", ".css", ".jpg", ".gif" };
    const char* songKinds[] = { ".mp3", ".m4a", ".MP3", ".aac", ".flv" };
    for (int f = 0; f < kFolders; ++f) {
        const fs::path folder = root / ("CACHE" + std::to_string(f));
        for (int i = 0; i < kFilesPerFolder; ++i) {
            const bool song = i < kSongsPerFolder;
            std::string bytes(song ? kSongBytes : 1024 + random() % 16384, '\0');
            for (size_t b = 0; b + 8 <= bytes.size(); b += 8) {
                const uint64_t v = random();
                std::copy_n(reinterpret_cast<const char*>(&v), 8, bytes.data() + b);
            }
            const fs::path file = folder
                / ("entry" + std::to_string(f * kFilesPerFolder + i)
                    + (song ? songKinds[i % 5] : kinds[i % 5]));
            writeFile(file, bytes);
            if (song)
                songs.push_back(file);
        }
    }
    return songs;
}

// The cache for one run: hard links to the pristine files, since a harvest removes its songs.
void linkLayout(const fs::path& pristine, const fs::path& layout)
{
    fs::remove_all(layout);
    for (const auto& e : fs::recursive_directory_iterator(pristine)) {
        const fs::path to = layout / fs::relative(e.path(), pristine);
        if (e.is_directory())
            fs::create_directories(to);
        else
            fs::create_hard_link(e.path(), to);
    }
}

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Harvests cache into the desktop of a fresh profile; the seconds it took. Checks that every
// song arrived.
double harvest(const fs::path& cache, const fs::path& profile, size_t songs)
{
    fs::remove_all(profile);
    runtime::App app;
    auto config = std::make_shared<platform::Config>();
    config->set("codepage", "UTF-8");
    config->set("browser_cache", cache.string());
    assembly::installServices(app, config, { profile.string(), true });
    assembly::registerWindows(app);
    const double s = seconds([&] { app.get<video::Form7>(); });
    size_t harvested = 0;
    for (const auto& e : fs::directory_iterator(profile / "Desktop" / video::kDownloadFolder))
        harvested += e.path().extension() != ".txt";
    if (harvested != songs)
        std::fprintf(stderr, "harvested %zu of %zu songs\n", harvested, songs);
    return s;
}

// A cache of count small songs (distinct bytes) in one subfolder.
void makeSmallSongs(const fs::path& root, int count)
{
    std::mt19937_64 random(static_cast<uint64_t>(count));
    const fs::path folder = root / "Content.IE5" / "ONE";
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        std::string bytes(512 + random() % 1536, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        writeFile(folder / ("s" + std::to_string(i) + ".mp3"), bytes);
    }
}

} // namespace

int main()
{
    bench::Scratch scratch;
    const fs::path pristine = scratch.path() / "pristine";
    const fs::path cache = scratch.path() / "cache";
    const fs::path profile = scratch.path() / "profile";
    const fs::path copies = scratch.path() / "cp";
    const std::vector<fs::path> songs = makePristine(pristine);

    std::string cp = "cp";
    for (const fs::path& s : songs)
        cp += " '" + s.string() + "'";
    cp += " '" + copies.string() + "/'";

    std::vector<double> harvests, baseline;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove_all(copies);
        fs::create_directories(copies);
        baseline.push_back(seconds([&] {
            if (std::system(cp.c_str()) != 0)
                std::fprintf(stderr, "cp failed\n");
        }));
        linkLayout(pristine, cache / "Content.IE5");
        harvests.push_back(harvest(cache, profile, songs.size()));
    }
    const double h = median(harvests);
    const double b = median(baseline);
    std::printf("harvest of %d cached files (%zu songs of 4 MiB): %8.1f ms   cp of the songs %8.1f ms   "
                "ratio %.2f (limit %.1f) %s\n",
        kFolders * kFilesPerFolder, songs.size(), h * 1e3, b * 1e3, h / b, kLimitRatio,
        h / b <= kLimitRatio ? "ok" : "OVER");

    // Ten harvests of 2,000 songs, then one of 20,000.
    const fs::path small = scratch.path() / "small";
    const fs::path run = scratch.path() / "run";
    makeSmallSongs(small, kSmallSongs / kSmallRuns);
    double tenSmall = 0;
    for (int i = 0; i < kSmallRuns; ++i) {
        linkLayout(small, run);
        tenSmall += harvest(run, profile, kSmallSongs / kSmallRuns);
    }
    fs::remove_all(small);
    makeSmallSongs(small, kSmallSongs);
    linkLayout(small, run);
    const double large = harvest(run, profile, kSmallSongs);
    std::printf("harvest of %d small songs in one folder: %8.1f ms   %d harvests of %d: %8.1f ms   "
                "ratio %.2f (limit %.1f) %s\n",
        kSmallSongs, large * 1e3, kSmallRuns, kSmallSongs / kSmallRuns, tenSmall * 1e3, large / tenSmall,
        kGrowthLimit, large / tenSmall <= kGrowthLimit ? "ok" : "OVER");
    return 0;
}
