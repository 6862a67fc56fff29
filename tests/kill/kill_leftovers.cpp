// What a killed program leaves: SIGKILLs the real program (headless console) at the moment it
// joins a split video with ffmpeg, asks yt-dlp about a page (with or without the site's
// cookies in a file for it), or writes an exported playlist.
// After each kill no child of the dead program may still run, and once the next start has
// ended no temporary file may be left in the download folder, the export's folder or the
// data folders.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

#include "kill/kill_harness.h"
#include "platform/codec.h"
#include "support/fixture_server.h"

namespace {

namespace fs = std::filesystem;
using namespace kill_testing;
using testing_support::FixtureServer;

// The processes other than this one whose command line mentions marker (zombies aside).
std::vector<std::string> processesMentioning(const std::string& marker)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string pid = it->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == std::to_string(getpid()))
            continue;
        std::string line = readAll(it->path() / "cmdline");
        const std::string stat = readAll(it->path() / "stat");
        const size_t state = stat.rfind(')');
        if (line.find(marker) == std::string::npos || (state != std::string::npos && stat[state + 2] == 'Z'))
            continue;
        std::replace(line.begin(), line.end(), '\0', ' ');
        found.push_back(pid + ": " + line);
    }
    return found;
}

// Whether ready() holds within timeoutMs.
bool waitUntil(const std::function<bool()>& ready, int timeoutMs)
{
    for (const auto begin = Clock::now(); msSince(begin) < timeoutMs;) {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Whether a file whose name holds part has been created in the folder an inotify watch (set up
// before the program starts) watches.
bool created(int watch, const std::string& part)
{
    alignas(inotify_event) char buffer[8192];
    pollfd p { watch, POLLIN, 0 };
    const ssize_t n = ::poll(&p, 1, 100) > 0 ? ::read(watch, buffer, sizeof buffer) : 0;
    for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && std::string(event->name).find(part) != std::string::npos)
            return true;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    return false;
}

// Temporary files: the program's rule (".zelvora-....part") and the names it used before.
std::vector<std::string> temporariesIn(const fs::path& folder)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(".zelvora-", 0) == 0 || name.find(".tmp") != std::string::npos
            || name.ends_with(".joining") || name.ends_with(".join.txt") || name.rfind("cookies-", 0) == 0)
            found.push_back(it->path().string());
    }
    return found;
}

class Leftovers {
public:
    Leftovers(Options& o, const std::string& work)
        : m_kind(work)
    {
        std::string pattern = (fs::temp_directory_path() / "zelvora-kill-left-XXXXXX").string();
        m_work = mkdtemp(pattern.data()) ? pattern : "/nonexistent";
        m_downloads = m_work / "profile" / "Desktop" / "Zelvora下载区";
        m_exports = m_work / "exports";
        fs::create_directories(m_downloads);
        fs::create_directories(m_exports);
        std::ofstream(m_work / "zelvora.cfg")
            << readAll(o.config) << "probe = " << m_server.url("/")
            << "\nparse_service = " << m_server.url("") << "\nsite.1 = 127.0.0.1:" << m_server.port()
            << "\nytdlp = yt-dlp\nffmpeg = ffmpeg\n";
        o.config = (m_work / "zelvora.cfg").string();
    }
    ~Leftovers()
    {
        for (const std::string& left : processesMentioning(m_marker.size() > 1 ? m_marker : m_work.string()))
            ::kill(std::stoi(left), SIGKILL);
        std::error_code ec;
        fs::remove_all(m_work, ec);
    }

    // Prepares the kind's files and script; false when that cannot be done here.
    bool prepare()
    {
        if (m_kind == "join")
            return prepareJoin();
        if (m_kind == "export")
            return prepareExport();
        // yt-dlp waits for a page that answers after a minute; with cookies of its site, their
        // file lies in the data folder while it waits.
        const std::string page = m_server.url("/slow/60000");
        const bool cookies = m_kind == "cookie";
        writeScript(std::string(cookies ? "cookie 127.0.0.1 sid \"kill-test\"\n" : "")
            + "menu Form6.downvideo\nclick Form2.Text3\ntype Form2.Text3 \"" + page
            + "\"\nclick Form2.Command9\n");
        m_left = cookies ? m_work / "profile" / "my documents" : fs::path();
        m_marker = page;
        return true;
    }

    Outcome run(const Options& o, int rounds)
    {
        Outcome out;
        const auto begin = Clock::now();
        // An export's temporary file lives a moment only: rounds go on (up to the limit) until
        // as many kills as rounds asked for have come while one was there.
        const int limit = m_kind == "export" ? rounds * 8 : rounds;
        for (int n = 0; n < limit && (n < rounds || m_caught < rounds); ++n) {
            ++out.rounds;
            const std::string problem = round(o);
            if (!problem.empty()) {
                ++out.inconsistent;
                out.problems.push_back("round " + std::to_string(n + 1) + ": " + problem);
            }
            out.kills += problem.rfind("never", 0) == 0 ? 0 : 1;
        }
        out.seconds = msSince(begin) / 1000;
        return out;
    }

private:
    // Two video segments of one codec, big enough that ffmpeg takes a moment to join them.
    bool prepareJoin()
    {
        std::string anchors;
        for (int k = 0; k < 2; ++k) {
            const fs::path clip = m_work / ("seg" + std::to_string(k) + ".flv");
            const std::string make
                = "ffmpeg -v error -y -f lavfi -i testsrc=size=640x480:rate=25 -t 40 -c:v flv1 "
                  "-b:v 6M '"
                + clip.string() + "'";
            if (std::system(make.c_str()) != 0)
                return false;
            const std::string path = "/files/" + std::to_string(k) + ".flv";
            m_server.addPage(path, readAll(clip), "video/x-flv");
            anchors = "<a href=\"" + m_server.url(path) + "?k=" + std::string(120, 'p') + "false;\">段</a>"
                + anchors;
        }
        const std::string page = m_server.url("/play/1.html");
        const std::string result = "<html><body><strong>当前解析视频：</strong>&nbsp;Same<strong>x</strong>"
                                   "下载地址：<b><a href=\"分段视频 false;\">下载</a></b><B>暂无</B>"
            + anchors + "</body></html>";
        m_server.addPage("/parse.php?format=&kw=" + page, platform::encode(result, "GBK"), "text/html");
        writeScript("menu Form6.downvideo\nclick Form2.Text3\ntype Form2.Text3 \"" + page
            + "\"\nclick Form2.Command9\nwait 1000\nwait 1000\nclick fenge.Command2\nwait 1000\n"
              "click fenge.Command3\n");
        m_watched = m_left = m_downloads;
        m_marker = "joining";
        return true;
    }

    // A list long enough that its export takes a moment to write.
    bool prepareExport()
    {
        const fs::path folder = m_work / "media" / std::string(150, 'm');
        fs::create_directories(folder);
        for (int i = 0; i < 20000; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "%05d", i);
            std::ofstream(folder / (std::string(name) + std::string(150, 's') + ".mp3")) << "x";
        }
        writeScript("menu Form6.onlinevideo\ndrop Form5 \""
            + (folder / ("00000" + std::string(150, 's') + ".mp3")).string() + "\"\nidle\nanswer file \""
            + (m_exports / "list.m3u8").string() + "\"\nmenu Form6.daochu\n");
        m_watched = m_left = m_exports;
        m_marker = ".";
        return true;
    }

    void writeScript(const std::string& commands)
    {
        std::ofstream(m_work / "round.script") << commands << "quit\n";
    }

    // One round: the program killed at its moment, then a start left to end.
    std::string round(const Options& o)
    {
        const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (!m_watched.empty())
            inotify_add_watch(watch, m_watched.c_str(), IN_CREATE);
        const Run r = start(o, m_work / "profile", m_work / "round.script", m_work / "round.out");
        const bool moment = waitUntil(
            [&] {
                return m_watched.empty() ? !processesMentioning(m_marker).empty() : created(watch, m_marker);
            },
            60000);
        ::close(watch);
        ::kill(r.pid, SIGKILL);
        reap(r.pid);
        if (!moment)
            return "never reached the moment to kill: " + readAll(m_work / "round.out");
        std::string problem;
        // A kill after the file was renamed into place leaves nothing for the start to sweep.
        m_caught += m_left.empty() || temporariesIn(m_left).empty() ? 0 : 1;
        // The kernel ends the children as their parent dies; a moment for them to go.
        const std::string child = m_watched.empty() ? m_marker : m_work.string();
        waitUntil([&] { return processesMentioning(child).empty(); }, 1000);
        for (const std::string& left : processesMentioning(child)) {
            problem += "a child of the killed program still runs (" + left + "); ";
            ::kill(std::stoi(left), SIGKILL);
        }
        std::ofstream(m_work / "next.script") << "quit\n";
        if (!runToEnd(start(o, m_work / "profile", m_work / "next.script", m_work / "next.out")))
            problem += "the next start did not end; ";
        for (const fs::path& folder : { m_downloads, m_exports, m_work / "profile" / "my documents" }) {
            for (const std::string& left : temporariesIn(folder)) {
                problem += "left after the next start: " + left + "; ";
                // The next round starts without it.
                fs::remove(left);
            }
        }
        return problem;
    }

    std::string m_kind;
    FixtureServer m_server;
    fs::path m_work;
    fs::path m_downloads;
    fs::path m_exports;
    fs::path m_watched;
    // Where the temporary file of the moment lies.
    fs::path m_left;
    std::string m_marker;

public:
    // Rounds whose kill left a temporary file for the next start to sweep.
    int m_caught = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 3 ? argv[3] : "";
    if (work != "join" && work != "resolve" && work != "cookie" && work != "export") {
        std::fprintf(
            stderr, "usage: kill_leftovers ZELVORA OFFLINE_CONFIG join|resolve|cookie|export [ROUNDS]\n");
        return 2;
    }
    Options o;
    o.program = argv[1];
    o.config = argv[2];
    Leftovers leftovers(o, work);
    if (!leftovers.prepare()) {
        std::printf("%s: cannot prepare the round (ffmpeg missing?)\n", work.c_str());
        return 1;
    }
    Outcome out = leftovers.run(o, argc > 4 ? std::atoi(argv[4]) : 3);
    std::printf("kills that left a temporary file behind: %d\n", leftovers.m_caught);
    if (work != "resolve" && leftovers.m_caught == 0)
        out.problems.push_back("no kill came while a temporary file was there");
    out.inconsistent += work != "resolve" && leftovers.m_caught == 0 ? 1 : 0;
    return report("leftovers of a killed " + work, out);
}
