// The player window with a music playlist of 100,000 entries: window load and tab switch,
// rewriting both files, one keystroke of the in-list search, and the window's peak memory,
// each beside its baseline measured in the same run.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "platform/codec.h"
#include "player/player_window.h"
#include "player_bench.h"

using namespace player_bench;
using bench::iconvDecode;

namespace {

constexpr int kEntries = 100000;
constexpr int kRuns = 7;

std::string dataFile(const std::filesystem::path& profile, const char* name)
{
    return (profile / "my documents" / "zelv" / "Temp" / name).string();
}

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKb(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return -1;
}

// In a fresh process: the resident memory before the player opens and the peak while it
// loads the list, in kB, printed as "before peak".
int memoryChild(const std::string& profile)
{
    Program program(profile);
    const long before = statusKb("VmRSS");
    // Restart the peak count from the current resident size.
    std::ofstream("/proc/self/clear_refs") << "5";
    program.app.get<player::Form5>();
    std::printf("%ld %ld\n", before, statusKb("VmHWM"));
    return 0;
}

void measureMemory(const std::string& profile, double fileBytes)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        execl("/proc/self/exe", "player_playlist", "--memory-child", profile.c_str(),
            static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[128] = {};
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer - 1);
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long before = 0;
    long peak = 0;
    if (got <= 0 || std::sscanf(buffer, "%ld %ld", &before, &peak) != 2) {
        std::printf("peak memory: the measuring process failed\n");
        return;
    }
    const double windowMiB = static_cast<double>(peak - before) / 1024.0;
    const double limitMiB = 3 * fileBytes / (1024.0 * 1024.0) + 20;
    std::printf("%-44s %9.1f MiB  (files %.1f MiB, limit %.1f MiB) %s\n", "peak memory of the loaded window",
        windowMiB, fileBytes / (1024.0 * 1024.0), limitMiB, windowMiB <= limitMiB ? "ok" : "OVER");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--memory-child") == 0)
        return memoryChild(argv[2]);

    Scratch scratch;
    const std::filesystem::path profile = scratch.path() / "profile";
    writeMusicPlaylist(profile, kEntries, "UTF-8");
    const std::string paths = dataFile(profile, "mpath.ini");
    const std::string names = dataFile(profile, "mname.ini");
    const double fileBytes = static_cast<double>(platform::fileSize(paths) + platform::fileSize(names));
    std::printf(
        "music playlist: %d entries, %.1f MiB in the two files\n", kEntries, fileBytes / (1024.0 * 1024.0));

    // Baselines: reading the two files and decoding them with the system's converter
    // (iconv), and with the program's own decoder.
    const double readIconv = medianSeconds(kRuns, [&] {
        for (const std::string* file : { &names, &paths }) {
            // The files were written just above; a failed read would only time an empty decode.
            const std::string bytes = platform::readFile(*file).valueOr({});
            const std::string text = iconvDecode(bytes, "UTF-8");
        }
    });
    const double readDecode = medianSeconds(kRuns, [&] {
        for (const std::string* file : { &names, &paths }) {
            const std::string bytes = platform::readFile(*file).valueOr({});
            const std::string text = platform::decode(bytes, "UTF-8");
        }
    });
    std::printf("%-44s %9.2f ms\n", "baseline: read and decode (iconv)", readIconv * 1e3);
    std::printf("%-44s %9.2f ms\n", "baseline: read and decode (own decoder)", readDecode * 1e3);

    Program program(profile.string());
    runtime::App& app = program.app;
    std::vector<double> loads;
    for (int i = 0; i < kRuns; ++i) {
        app.unload<player::Form5>();
        const auto start = std::chrono::steady_clock::now();
        app.get<player::Form5>();
        loads.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(loads.begin(), loads.end());
    const double load = loads[loads.size() / 2];
    report("window load (vs iconv)", load, readIconv, 2.0);
    report("window load (vs own decoder)", load, readDecode, 2.0);
    player::Form5& player = app.get<player::Form5>();
    std::vector<double> toMusic;
    std::vector<double> toVideo;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        player.Label7.click();
        toVideo.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        start = std::chrono::steady_clock::now();
        player.Label5.click();
        toMusic.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(toMusic.begin(), toMusic.end());
    std::sort(toVideo.begin(), toVideo.end());
    report("tab switch to the music list (vs iconv)", toMusic[kRuns / 2], readIconv, 2.0);
    report("tab switch to the music list (vs own decoder)", toMusic[kRuns / 2], readDecode, 2.0);
    report("tab switch away from it (drops the list)", toVideo[kRuns / 2], readIconv, 2.0);

    // Baseline: encoding the same bytes and writing them once.
    std::string lines;
    for (const auto& list : { &player.List2, &player.List1 }) {
        for (const auto& line : list->items())
            lines += line + "\r\n";
    }
    const std::string scratchFile = (scratch.path() / "baseline.bin").string();
    const double encodeWrite = medianSeconds(kRuns, [&] {
        const std::string bytes = platform::encode(lines, "UTF-8");
        FILE* f = std::fopen(scratchFile.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    });
    const double rewrite = medianSeconds(kRuns, [&] {
        // Timed as it is; a failed write would show as a far too short time.
        std::ignore = player::rewritePlaylist(
            app, player::Playlist::Music, player.List1.items(), player.List2.items());
    });
    report("rewrite of both files", rewrite, encodeWrite, 2.0);

    // One keystroke at a time, as a person types a search, clears it (every name matches
    // the empty text) and types a letter found in two thirds of the names.
    player.Image14.click();
    const auto keystroke = [&](const std::string& text) {
        const auto start = std::chrono::steady_clock::now();
        player.Text2.setText(text);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> typing;
    std::string typed;
    for (const char* key : { "歌", "曲", "第", "1", "2" }) {
        typed += key;
        typing.push_back(keystroke(typed));
    }
    std::printf(
        "  (search \"%s\" finds %d of %d names)\n", typed.c_str(), player.List4.listCount(), kEntries);
    std::vector<double> clearing;
    std::vector<double> wide;
    for (int i = 0; i < kRuns; ++i) {
        clearing.push_back(keystroke(""));
        wide.push_back(keystroke("r"));
    }
    std::sort(clearing.begin(), clearing.end());
    std::sort(wide.begin(), wide.end());
    reportAbsolute("slowest keystroke typing a search", *std::max_element(typing.begin(), typing.end()), 20);
    reportAbsolute("keystroke clearing it (all names match)", clearing[kRuns / 2], 20);
    const std::string wideWhat = "keystroke matching " + std::to_string(player.List4.listCount()) + " names";
    reportAbsolute(wideWhat.c_str(), wide[kRuns / 2], 20);

    // Pinyin as a person types it: initials, then full syllables (found in the Chinese
    // third), and initials that spell no name (every name is read to its end).
    std::vector<double> spelling;
    std::string spelled;
    for (const char* key : { "g", "s", "y", "c" }) {
        spelled += key;
        spelling.push_back(keystroke(spelled));
    }
    for (const char* text : { "geshouyanchang", "zhoujielun" })
        spelling.push_back(keystroke(text));
    keystroke(spelled);
    std::printf(
        "  (pinyin \"%s\" finds %d of %d names)\n", spelled.c_str(), player.List4.listCount(), kEntries);
    reportAbsolute(
        "slowest keystroke typing pinyin", *std::max_element(spelling.begin(), spelling.end()), 20);

    measureMemory(profile.string(), fileBytes);
    return 0;
}
