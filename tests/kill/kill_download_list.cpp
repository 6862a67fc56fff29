// The kill test of the download list: SIGKILLs the real program (headless console) while it
// puts downloads on the list and fetches them in pieces from a loopback server. After every
// kill the list file must be whole (its heading, every line complete and of a known kind);
// a start left to run must then finish every row it lists with exactly the server's bytes
// and leave no partial file behind.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "kill/kill_harness.h"
#include "support/fixture_server.h"

namespace {

namespace fs = std::filesystem;
using namespace kill_testing;
using testing_support::FixtureServer;

constexpr int kFiles = 3;

class ListDownloads {
public:
    explicit ListDownloads(Options& o)
        : m_random(o.seed)
    {
        std::string pattern = (fs::temp_directory_path() / "zelvora-kill-list-XXXXXX").string();
        m_work = mkdtemp(pattern.data()) ? pattern : "/nonexistent";
        m_folder = m_work / "profile" / "Desktop" / "Zelvora下载区";
        m_list = m_work / "profile" / "my documents" / "zelv" / "downloads.lst";
        for (int k = 0; k < kFiles; ++k) {
            // Large enough to be fetched as ranges, slow enough to be killed halfway.
            m_bytes.push_back(FixtureServer::pattern(
                static_cast<size_t>(k) * 13, static_cast<size_t>((2 << 20) + 1000 * k)));
            m_server.addPage("/f" + std::to_string(k) + ".bin", m_bytes.back(), "video/x-flv");
        }
        // Until the list has nothing left to fetch (its timer stops), however long the machine takes.
        std::ofstream(m_work / "finish.script") << "idle 3600000\nquit\n";
    }
    ~ListDownloads()
    {
        std::error_code ec;
        fs::remove_all(m_work, ec);
    }

    Outcome run(const Options& o)
    {
        Round round;
        round.script = m_work / "round.script";
        round.prepare = [this](int) { writeRound(); };
        round.check = [this, &o](int) {
            std::string why = judgeList();
            const Run again = start(o, m_work / "profile", m_work / "finish.script", m_work / "again.out");
            if (why.empty() && !runToEnd(again))
                why = "the next start did not end";
            if (why.empty())
                why = judgeFinished();
            std::error_code ec;
            fs::remove_all(m_folder, ec);
            fs::remove(m_list, ec);
            return why;
        };
        return killRounds(o, m_work / "profile", round);
    }

private:
    void writeRound()
    {
        std::ostringstream script;
        script << "menu Form6.downlist\ntype xiazai.Text3 \"" << 1 + m_random() % 4 << "\"\n";
        for (int k = 0; k < kFiles; ++k) {
            script << "type xiazai.Text4 \""
                   << m_server.url("/slowly/16384/10/f" + std::to_string(k) + ".bin")
                   << "\"\nclick xiazai.Command10\n";
        }
        script << "select xiazai.List1 0\nclick xiazai.Command1\nclick xiazai.Command2\n"
               << "wait 1000\nwait 1000\nquit\n";
        std::ofstream(m_work / "round.script") << script.str();
    }

    std::vector<std::vector<std::string>> rows(const std::string& text)
    {
        std::vector<std::vector<std::string>> out;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> fields;
            std::istringstream f(line);
            std::string field;
            while (std::getline(f, field, '\t'))
                fields.push_back(field);
            out.push_back(fields);
        }
        return out;
    }

    std::string judgeList()
    {
        bool exists = false;
        const std::string text = readAll(m_list, &exists);
        if (!exists)
            return {};
        if (text.rfind("zelvora-downloads 1\n", 0) != 0 || text.back() != '\n')
            return "the list file is cut short";
        for (const auto& row : rows(text)) {
            const std::string kind = row.empty() ? "" : row[0];
            if (kind != "zelvora-downloads 1" && kind != "settings" && kind != "job" && kind != "piece")
                return "the list file holds a line of no known kind";
            if (kind == "job" && row.size() < 12)
                return "a row of the list file is incomplete";
        }
        return {};
    }

    std::string judgeFinished()
    {
        for (const auto& row : rows(readAll(m_list))) {
            // A row paused when the program was killed stays paused.
            if (row.empty() || row[0] != "job" || row[2] == "2")
                continue;
            if (row[2] != "3")
                return "a row the next start should have finished is in state " + row[2];
            const std::string name = fs::path(row[5]).filename().string();
            const int k = name.size() > 1 ? name[1] - '0' : -1;
            if (k < 0 || k >= kFiles || readAll(row[5]) != m_bytes[static_cast<size_t>(k)])
                return "the finished " + name + " is not the server's file";
        }
        std::error_code ec;
        for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->path().filename().string()[0] == '.')
                return "a partial file was left behind: " + it->path().filename().string();
        }
        return {};
    }

    std::mt19937 m_random;
    FixtureServer m_server;
    fs::path m_work;
    fs::path m_folder;
    fs::path m_list;
    std::vector<std::string> m_bytes;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kill_download_list ZELVORA OFFLINE_CONFIG [KILLS [SECONDS]]\n");
        return 2;
    }
    Options o;
    o.program = argv[1];
    o.config = argv[2];
    o.kills = argc > 3 ? std::atoi(argv[3]) : 10;
    o.maxSeconds = argc > 4 ? std::atof(argv[4]) : 80;
    o.seed = 9;
    ListDownloads downloads(o);
    return report("download list", downloads.run(o));
}
