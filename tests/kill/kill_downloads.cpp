// The kill test of the downloads: SIGKILLs the real program (headless console) while it
// downloads a video, or the segments of a split video, from a loopback server whose files
// change version and address between rounds. After every kill each file in the download
// folder must be whole (the old or the new download) or a partial file whose control file
// names the address and version its bytes begin; a start left to finish must then leave
// exactly the server's bytes and nothing beside them.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "kill/kill_harness.h"
#include "platform/codec.h"
#include "platform/resume_record.h"
#include "support/fixture_server.h"

namespace {

namespace fs = std::filesystem;
using namespace kill_testing;
using testing_support::FixtureServer;

// Variants 0 and 1 are two versions of a file at one address, variant 2 another address.
constexpr int kVariants = 3;

// One file the program downloads: its name in the download folder and, per variant, its path
// on the server (sent 16 KiB at a time), the address the program asks for and the bytes.
struct Source {
    std::string name;
    std::string path[kVariants];
    std::string address[kVariants];
    std::string bytes[kVariants];
    std::string kept; // the whole file in the folder after the last check
};

class Downloads {
public:
    Downloads(Options& o, bool split)
        : m_split(split)
        , m_random(o.seed)
    {
        std::string pattern = (fs::temp_directory_path() / "zelvora-kill-dl-XXXXXX").string();
        m_work = mkdtemp(pattern.data()) ? pattern : "/nonexistent";
        m_folder = m_work / "profile" / "Desktop" / "Zelvora下载区";
        std::ofstream(m_work / "zelvora.cfg")
            << readAll(o.config) << "probe = " << m_server.url("/")
            << "\nparse_service = " << m_server.url("") << "\nsite.1 = 127.0.0.1:" << m_server.port() << "\n";
        o.config = (m_work / "zelvora.cfg").string();
        for (int k = 0; k < (split ? 2 : 1); ++k) {
            Source s;
            s.name = split ? "Same(" + std::to_string(k) + ").flv" : "Same.flv";
            for (int v = 0; v < kVariants; ++v) {
                s.path[v] = "/files/" + std::to_string(k) + (v == 2 ? "b" : "a") + ".flv";
                // Split segments are kept only with addresses over 120 characters.
                s.address[v] = m_server.url("/slowly/16384/8" + s.path[v])
                    + "?k=" + std::string(split ? 120 : 1, 'p') + "false;";
                s.bytes[v].resize(600000 + 50000 * static_cast<size_t>(v));
                for (char& c : s.bytes[v])
                    c = static_cast<char>(m_random());
            }
            m_sources.push_back(s);
        }
    }
    ~Downloads()
    {
        std::error_code ec;
        fs::remove_all(m_work, ec);
    }

    Outcome run(const Options& o)
    {
        Round round;
        round.script = m_work / "round.script";
        // The same variant as the killed round half the time, so partial files are resumed.
        round.prepare = [this](int) {
            removeFinished();
            serve(m_random() % 2 ? m_variant : static_cast<int>(m_random() % kVariants));
        };
        round.check = [this, &o](int) {
            std::string why = judgeKilled();
            removeFinished();
            const Run again = start(o, m_work / "profile", m_work / "round.script", m_work / "again.out");
            if (why.empty() && !runToEnd(again))
                why = "the next start did not end";
            return why.empty() ? judgeWhole() : why;
        };
        return killRounds(o, m_work / "profile", round);
    }

private:
    // A finished download is never replaced by a later one (that gets a " (n)" name), so the
    // person removes it before downloading again; partial files and their records stay.
    void removeFinished()
    {
        for (Source& s : m_sources) {
            std::error_code ec;
            fs::remove(m_folder / s.name, ec);
            s.kept.clear();
        }
    }

    // Puts the variant's files on the server and writes the script that downloads them.
    void serve(int variant)
    {
        m_variant = variant;
        const std::string page = m_server.url("/play/1.html");
        // A Chinese character in the address marks a split video, whose segments are links.
        std::string address = m_split ? "分段视频 false;" : m_sources.front().address[variant];
        std::string anchors;
        for (const Source& s : m_sources) {
            m_server.addPage(s.path[variant], s.bytes[variant], "video/x-flv");
            anchors = "<a href=\"" + s.address[variant] + "\">段</a>" + anchors;
        }
        const std::string result = "<html><body><strong>当前解析视频：</strong>&nbsp;Same<strong>x</strong>"
                                   "下载地址：<b><a href=\""
            + address + "\">下载</a></b><B>暂无</B>" + (m_split ? anchors : "") + "</body></html>";
        m_server.addPage("/parse.php?format=&kw=" + page, platform::encode(result, "GBK"), "text/html");
        std::ofstream script(m_work / "round.script");
        script << "menu Form6.downvideo\nclick Form2.Text3\ntype Form2.Text3 \"" << page
               << "\"\nclick Form2.Command9\n"
               << (m_split ? "wait 1000\nwait 1000\nclick fenge.Command2\nwait 1000\n"
                           : "click Form2.Command10\n")
               << "quit\n";
    }

    // After a kill: each file is the old or the new one, each partial file the start of the
    // version its control file names.
    std::string judgeKilled()
    {
        for (Source& s : m_sources) {
            const std::string kept = readAll(m_folder / s.name);
            if (kept != s.kept && kept != s.bytes[m_variant])
                return s.name + " is neither the old nor the new download";
            const std::string partial = readAll(m_folder / ("." + s.name + ".partial"));
            const auto parsed = platform::parseResumeRecord(readAll(m_folder / ("." + s.name + ".resume")));
            const bool described = parsed.ok();
            const platform::ResumeRecord record = parsed.ok() ? *parsed : platform::ResumeRecord();
            bool matches = partial.empty();
            for (int v = 0; v < kVariants && !matches; ++v)
                matches = described && record.url == s.address[v]
                    && record.etag == FixtureServer::etagOf(s.bytes[v])
                    && s.bytes[v].compare(0, partial.size(), partial) == 0;
            if (!matches)
                return "the partial " + s.name + " is not the start of the version its control file names";
        }
        return {};
    }

    // After a start left to finish: the folder holds exactly the variant's files.
    std::string judgeWhole()
    {
        size_t entries = 0;
        std::string names;
        std::error_code ec;
        for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
            ++entries;
            names += " " + it->path().filename().string();
        }
        for (Source& s : m_sources) {
            s.kept = readAll(m_folder / s.name);
            if (s.kept != s.bytes[m_variant])
                return "after the next start " + s.name + " is not the server's file";
        }
        return entries == m_sources.size() ? "" : "the next start left files beside the downloads:" + names;
    }

    bool m_split;
    std::mt19937 m_random;
    FixtureServer m_server;
    fs::path m_work;
    fs::path m_folder;
    std::vector<Source> m_sources;
    int m_variant = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 3 ? argv[3] : "";
    if (work != "video" && work != "split") {
        std::fprintf(stderr, "usage: kill_downloads ZELVORA OFFLINE_CONFIG video|split [KILLS [SECONDS]]\n");
        return 2;
    }
    Options o;
    o.program = argv[1];
    o.config = argv[2];
    o.kills = argc > 4 ? std::atoi(argv[4]) : 12;
    o.maxSeconds = argc > 5 ? std::atof(argv[5]) : 70;
    o.seed = 7;
    Downloads downloads(o, work == "split");
    return report(work + " download", downloads.run(o));
}
