#include "kill/kill_harness.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace kill_testing {

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string readAll(const fs::path& path, bool* exists)
{
    std::ifstream in(path, std::ios::binary);
    if (exists)
        *exists = static_cast<bool>(in);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

Run start(const Options& o, const fs::path& profile, const fs::path& script, const fs::path& output)
{
    Run run;
    run.output = output;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string profileText = profile.string();
    const std::string scriptText = script.string();
    std::vector<std::string> args
        = { o.program, "--headless", "--profile", profileText, "--config", o.config, "--script", scriptText };
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&run.pid, o.program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        run.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

bool reap(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

bool runToEnd(const Run& run)
{
    const auto begin = Clock::now();
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(run.pid, &status, WNOHANG);
        if (r == run.pid)
            return true;
        if (msSince(begin) > 60000) {
            kill(run.pid, SIGKILL);
            reap(run.pid);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

int report(const std::string& what, const Outcome& out)
{
    std::printf("%s: rounds %d, kills %d, inconsistent %d, %.1f s, whole round %.0f ms\n", what.c_str(),
        out.rounds, out.kills, out.inconsistent, out.seconds, out.meanRoundMs);
    for (const std::string& p : out.problems)
        std::printf("  %s\n", p.c_str());
    if (out.kills == 0)
        std::printf("no round was killed\n");
    return out.kills > 0 && out.inconsistent == 0 ? 0 : 1;
}

namespace {

using Lines = std::vector<std::string>;

// The lines of a file the program wrote: each ended by CR LF.
Lines crlfLines(const std::string& bytes, bool& wellFormed)
{
    Lines lines;
    wellFormed = true;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            wellFormed = false; // a line without its end: a torn write
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string baseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A playlist as the next start sees it: a commit that had been decided counts with its new
// files, one that had not with the files as they are.
struct Pair {
    Lines names;
    Lines paths;
    bool wellFormed = true;
};

Pair effectivePair(const fs::path& temp, const std::string& prefix)
{
    const std::string pathsName = prefix + "path.ini";
    const std::string namesName = prefix + "name.ini";
    bool journal = false;
    const std::string text = readAll(temp / ("." + prefix + "list.commit"), &journal);
    const bool decided = journal && text.rfind("zelvora commit 1\n", 0) == 0;
    auto current = [&](const std::string& name) {
        const fs::path pending = temp / ("." + name + ".commit-new");
        if (decided && text.find("\n" + name + "\n") != std::string::npos && fs::exists(pending))
            return readAll(pending);
        return readAll(temp / name);
    };
    Pair p;
    bool namesOk = true;
    bool pathsOk = true;
    p.names = crlfLines(current(namesName), namesOk);
    p.paths = crlfLines(current(pathsName), pathsOk);
    p.wellFormed = namesOk && pathsOk;
    return p;
}

// Why a pair is not one of the versions, or empty when it is.
std::string judgePair(const Pair& p, const std::vector<Lines>& versions)
{
    if (!p.wellFormed)
        return "a line without its CR LF";
    if (p.names.size() != p.paths.size())
        return std::to_string(p.names.size()) + " names beside " + std::to_string(p.paths.size()) + " paths";
    for (size_t i = 0; i < p.names.size(); ++i) {
        if (p.names[i] != ">" + baseName(p.paths[i]))
            return "entry " + std::to_string(i) + " names " + p.names[i] + " for " + p.paths[i];
    }
    if (std::find(versions.begin(), versions.end(), p.paths) == versions.end())
        return "the " + std::to_string(p.paths.size()) + " entries are neither the old nor a new version";
    return {};
}

// The entries a verifying start printed after a marker line.
Lines section(const std::string& output, const std::string& marker, const std::string& next)
{
    Lines out;
    std::istringstream in(output);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line == marker) {
            inside = true;
        } else if (line == next) {
            break;
        } else if (inside) {
            out.push_back(line);
        }
    }
    return out;
}

// Files that a writer leaves beside its target while it works.
std::vector<std::string> leftovers(const fs::path& folder)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name[0] == '.')
            found.push_back(name);
    }
    return found;
}

class Harness {
public:
    explicit Harness(const Options& o)
        : m_o(o)
        , m_rng(o.seed)
    {
        std::string pattern = (fs::temp_directory_path() / "zelvora-kill-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_work = pattern;
        m_profile = m_work / "profile";
        m_temp = m_profile / "my documents" / "zelv" / "Temp";
        m_skin = m_profile / "my documents" / "zelv" / "skin";
        for (int kind = 0; kind < 2; ++kind) {
            for (int k = 0; k < o.folders; ++k) {
                const fs::path folder = m_work / "media" / ((kind == 0 ? "m" : "v") + std::to_string(k));
                fs::create_directories(folder);
                for (int i = 0; i < o.filesPerFolder; ++i) {
                    char name[32];
                    std::snprintf(name, sizeof name, "f%05d.%s", i, kind == 0 ? "mp3" : "avi");
                    std::ofstream(folder / name) << "x";
                    m_folderFiles[kind][k].push_back((folder / name).string());
                }
            }
        }
    }
    ~Harness()
    {
        std::error_code ec;
        if (!m_work.empty())
            fs::remove_all(m_work, ec);
    }

    Outcome run()
    {
        std::string why;
        if (m_work.empty() || !verify(why)) {
            Outcome out;
            out.problems.push_back("the first start failed: " + why);
            out.inconsistent = 1;
            return out;
        }
        m_reference = readAll(m_skin / "ini.db");
        std::vector<Lines> versions;
        Round round;
        round.script = m_work / "round.script";
        round.prepare = [&](int n) { versions = planRound(n % 2, n); };
        round.check = [&](int n) {
            std::string problem = check(n % 2, versions);
            // Every kill is judged on its own: the next round starts from sound files.
            if (!problem.empty() && !reset(why))
                problem += "; cannot start afresh: " + why;
            return problem;
        };
        return killRounds(m_o, m_profile, round);
    }

private:
    // Writes the round's script and returns the versions its list may be in afterwards.
    std::vector<Lines> planRound(int kind, int round)
    {
        Lines& list = m_entries[kind];
        std::vector<Lines> versions { list };
        const auto& files = m_folderFiles[kind][static_cast<size_t>((round / 2) % m_o.folders)];
        std::ostringstream script;
        script << "click moban.Label5\n"
               << "scroll setz.HScroll1 " << m_nextColour << "\n"
               << "click setz.Command1\n"
               << "click setz.Command2\n"
               << "menu Form6.onlinevideo\n"
               << "drop Form5 \"" << files.front() << "\"\nidle\n";
        Lines next = list;
        if (std::find(list.begin(), list.end(), files.front()) == list.end()) {
            next.insert(next.end(), files.begin(), files.end());
            versions.push_back(next);
        }
        for (int d = 0; d < m_o.deletesPerRound && !next.empty(); ++d) {
            // Early entries: every later pair shifts when one of them goes.
            const size_t index = m_rng() % std::min<size_t>(next.size(), 50);
            next.erase(next.begin() + static_cast<std::ptrdiff_t>(index));
            versions.push_back(next);
            script << "select Form5.List1 " << index << "\nmenu Form6.del\n";
        }
        script << "quit\n";
        std::ofstream(m_work / "round.script") << script.str();
        m_colours = { m_colour, m_nextColour };
        return versions;
    }

    std::string checkSettings()
    {
        bool exists = false;
        const std::string bytes = readAll(m_skin / "ini.db", &exists);
        bool wellFormed = true;
        const Lines lines = crlfLines(bytes, wellFormed);
        bool refWellFormed = true;
        const Lines reference = crlfLines(m_reference, refWellFormed);
        if (!exists || !wellFormed || lines.size() != reference.size())
            return "ini.db is torn (" + std::to_string(lines.size()) + " lines)";
        for (size_t i = 1; i < lines.size(); ++i) {
            if (lines[i] != reference[i])
                return "ini.db line " + std::to_string(i + 1) + " changed";
        }
        for (const int c : m_colours) {
            if (lines[0] == (c < 0 ? reference[0] : std::to_string(c))) {
                m_colour = c;
                return {};
            }
        }
        return "ini.db holds the colour " + lines[0] + ", neither the old nor the new one";
    }

    std::string check(int kind, const std::vector<Lines>& versions)
    {
        for (int k = 0; k < 2; ++k) {
            const Pair p = effectivePair(m_temp, k == 0 ? "m" : "v");
            const std::string why = judgePair(p, k == kind ? versions : std::vector<Lines> { m_entries[k] });
            if (!why.empty())
                return std::string(k == 0 ? "music" : "video") + " list: " + why;
            m_expected[k] = p;
        }
        if (std::string why = checkSettings(); !why.empty())
            return why;
        // 1 to 255: the red slider starts at 0, and a scroll to 0 moves nothing (the designed
        // colour of the settings window is then applied, which is no tear).
        m_nextColour = 1 + (m_nextColour + 36) % 255;
        std::string why;
        if (!verify(why))
            return why;
        return {};
    }

    // Empties both playlists and restores the settings file, then starts once to check.
    bool reset(std::string& why)
    {
        std::error_code ec;
        fs::remove_all(m_temp, ec);
        std::ofstream(m_skin / "ini.db", std::ios::binary) << m_reference;
        m_colour = -1;
        m_verified = false;
        return verify(why);
    }

    // Starts the program on the profile as it is and compares what it shows with the files.
    bool verify(std::string& why)
    {
        std::ofstream(m_work / "verify.script")
            << "menu Form6.onlinevideo\n"
               "echo ==names\nget Form5.List1\necho ==paths\nget Form5.List2\n"
               "click Form5.Label7\n"
               "echo ==vnames\nget Form5.List1\necho ==vpaths\nget Form5.List2\n"
               "echo ==end\nquit\n";
        const Run r = start(m_o, m_profile, m_work / "verify.script", m_work / "verify.out");
        if (r.pid < 0 || !runToEnd(r)) {
            why = "the verifying start did not finish";
            return false;
        }
        const std::string out = readAll(r.output);
        const Lines shown[2][2] = {
            { section(out, "==names", "==paths"), section(out, "==paths", "==vnames") },
            { section(out, "==vnames", "==vpaths"), section(out, "==vpaths", "==end") },
        };
        for (int k = 0; k < 2; ++k) {
            const Pair files = effectivePair(m_temp, k == 0 ? "m" : "v");
            if (shown[k][0] != files.names || shown[k][1] != files.paths) {
                why = std::string("the next start shows other ") + (k == 0 ? "music" : "video")
                    + " entries than the files hold";
                return false;
            }
            if (m_verified && (files.names != m_expected[k].names || files.paths != m_expected[k].paths)) {
                why = std::string("the next start did not keep the ") + (k == 0 ? "music" : "video")
                    + " pair it found";
                return false;
            }
            m_entries[k] = files.paths;
        }
        m_verified = true;
        for (const fs::path& folder : { m_temp, m_skin }) {
            const std::vector<std::string> left = leftovers(folder);
            if (!left.empty()) {
                why = "the next start left " + left.front() + " in " + folder.filename().string();
                return false;
            }
        }
        return true;
    }

    Options m_o;
    std::mt19937 m_rng;
    fs::path m_work;
    fs::path m_profile;
    fs::path m_temp;
    fs::path m_skin;
    std::vector<std::string> m_folderFiles[2][64];
    Lines m_entries[2];
    Pair m_expected[2];
    bool m_verified = false;
    std::string m_reference;
    // -1 stands for the default colour of the first start.
    int m_colour = -1;
    int m_nextColour = 5;
    std::vector<int> m_colours;
};

} // namespace

Outcome killRounds(const Options& o, const fs::path& profile, const Round& round)
{
    Outcome out;
    std::mt19937 rng(o.seed);
    const auto begin = Clock::now();
    double roundMs = 0;
    int whole = 0;
    while (out.kills < o.kills && msSince(begin) < o.maxSeconds * 1000) {
        round.prepare(out.rounds);
        // Until a round has run whole, its length is unknown: the first one is not killed.
        const double delay = whole == 0 ? -1 : std::uniform_real_distribution<double>(0, roundMs * 1.1)(rng);
        const auto started = Clock::now();
        const fs::path output = round.script.parent_path() / "round.out";
        const Run r = start(o, profile, round.script, output);
        if (r.pid < 0) {
            out.problems.push_back("cannot start " + o.program);
            ++out.inconsistent;
            break;
        }
        bool killed = false;
        if (delay >= 0) {
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(delay));
            kill(r.pid, SIGKILL);
            killed = reap(r.pid);
        } else {
            runToEnd(r);
        }
        if (!killed) {
            roundMs = (roundMs * whole + msSince(started)) / (whole + 1);
            ++whole;
        }
        out.kills += killed ? 1 : 0;
        const std::string problem = round.check(out.rounds++);
        if (!problem.empty()) {
            ++out.inconsistent;
            if (out.problems.size() < 10)
                out.problems.push_back(
                    "round " + std::to_string(out.rounds) + (killed ? " (killed)" : "") + ": " + problem);
        }
        if (o.verbose)
            std::fprintf(
                stderr, "round %d %s %s\n", out.rounds, killed ? "killed" : "whole", problem.c_str());
    }
    out.seconds = msSince(begin) / 1000;
    out.meanRoundMs = roundMs;
    return out;
}

Outcome runKillRounds(const Options& options)
{
    Options o = options;
    o.folders = std::clamp(o.folders, 1, 64);
    Harness h(o);
    return h.run();
}

} // namespace kill_testing
