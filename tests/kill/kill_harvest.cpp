#include "kill/kill_harvest.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace kill_testing {

namespace {

void writeAll(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The files of a folder tree by their bytes, hidden ones and the notes file apart.
std::multiset<std::string> contents(const fs::path& folder, std::vector<std::string>* hidden = nullptr)
{
    std::multiset<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file() || name == "使用说明.txt")
            continue;
        if (name[0] == '.' && hidden)
            hidden->push_back(name);
        else if (name[0] != '.')
            found.insert(readAll(it->path()));
    }
    return found;
}

class WorkHarness {
public:
    WorkHarness(const Options& o, Work work, int songs)
        : m_o(o)
        , m_work(work)
        , m_rng(o.seed)
    {
        std::string pattern = (fs::temp_directory_path() / "zelvora-kill-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        m_dir = pattern;
        m_downloads = m_dir / "profile" / "Desktop" / "Zelvora下载区";
        m_skin = m_dir / "profile" / "my documents" / "zelv" / "skin";
        m_o.config = (m_dir / "zelvora.cfg").string();
        writeAll(m_o.config, readAll(o.config) + "\nbrowser_cache = " + (m_dir / "cache").string() + "\n");
        std::uniform_int_distribution<int> size(8 << 10, 40 << 10);
        for (int i = 0; i < songs; ++i) {
            std::string bytes(static_cast<size_t>(size(m_rng)), '\0');
            for (char& c : bytes)
                c = static_cast<char>(m_rng());
            const fs::path song
                = m_dir / "pristine" / ("G" + std::to_string(i % 10)) / (std::to_string(i) + ".mp3");
            writeAll(song, bytes);
            m_songs.insert(bytes);
        }
        // Pictures by their header (a GIF of 2 × 3 pixels), large enough to take a while to copy.
        for (const char* picture : { "a.gif", "b.gif" })
            writeAll(m_dir / picture,
                std::string("GIF89a\x02\x00\x03\x00", 10) + std::string(8 << 20, picture[0]));
    }
    ~WorkHarness()
    {
        std::error_code ec;
        if (!m_dir.empty())
            fs::remove_all(m_dir, ec);
    }

    Outcome run()
    {
        Round round;
        round.script = m_dir / "round.script";
        round.prepare = [this](int) { prepare(); };
        round.check = [this](int) {
            std::string problem = m_work == Work::Harvest ? checkHarvest() : checkSkin();
            if (problem.empty()
                && !runToEnd(start(m_o, m_dir / "profile", m_dir / "verify.script", m_dir / "verify.out")))
                problem = "the next start did not end";
            if (problem.empty())
                problem = m_work == Work::Harvest ? checkNextHarvest() : leftovers(m_skin);
            return problem;
        };
        if (m_dir.empty())
            return {};
        return killRounds(m_o, m_dir / "profile", round);
    }

private:
    // Writes the round's script and puts the files it works on in place.
    void prepare()
    {
        std::ofstream script(m_dir / "round.script");
        if (m_work == Work::Harvest) {
            fs::remove_all(m_downloads);
            fs::remove_all(m_dir / "cache");
            for (const auto& e : fs::recursive_directory_iterator(m_dir / "pristine")) {
                const fs::path to
                    = m_dir / "cache" / "Content.IE5" / fs::relative(e.path(), m_dir / "pristine");
                if (e.is_directory())
                    fs::create_directories(to);
                else
                    fs::create_hard_link(e.path(), to);
            }
            script << "click Form1.Command1\nclick Form4.Command2\nquit\n";
            std::ofstream(m_dir / "verify.script") << "click Form1.Command1\nclick Form4.Command2\nquit\n";
            return;
        }
        m_oldPicture = readAll(m_skin / "zelv.jpg");
        m_oldSettings = readAll(m_skin / "ini.db");
        m_picture = m_dir / (m_picture.filename() == "a.gif" ? "b.gif" : "a.gif");
        m_colour = 1 + (m_colour + 36) % 255;
        script << "click moban.Label5\ndrop setz.Label10 \"" << m_picture.string()
               << "\"\nscroll setz.HScroll1 " << m_colour
               << "\nclick setz.Command1\nclick setz.Command2\nquit\n";
        std::ofstream(m_dir / "verify.script") << "quit\n";
    }

    // After a kill mid-harvest: every copy is a whole song and every song is somewhere.
    std::string checkHarvest()
    {
        const std::multiset<std::string> copies = contents(m_downloads);
        for (const std::string& c : copies) {
            if (!m_songs.count(c))
                return "a copy of " + std::to_string(c.size()) + " bytes is no whole song";
        }
        std::multiset<std::string> everywhere = contents(m_dir / "cache");
        everywhere.insert(copies.begin(), copies.end());
        for (const std::string& s : m_songs) {
            if (!everywhere.count(s))
                return "a song of " + std::to_string(s.size()) + " bytes was removed without a whole copy";
        }
        const std::string notes = readAll(m_downloads / "使用说明.txt");
        if (m_notes.empty())
            m_notes = notes;
        if (!notes.empty() && notes != m_notes)
            return "the notes file is torn";
        return {};
    }

    // After the next harvest: each song once, none left in the cache, no leftovers.
    std::string checkNextHarvest()
    {
        std::vector<std::string> hidden;
        const std::multiset<std::string> copies = contents(m_downloads, &hidden);
        if (!hidden.empty())
            return "the next harvest left " + hidden.front();
        if (!contents(m_dir / "cache").empty())
            return "the next harvest left songs in the cache";
        if (copies.size() != m_songs.size() || std::set<std::string>(copies.begin(), copies.end()) != m_songs)
            return "the next harvest made " + std::to_string(copies.size()) + " files of "
                + std::to_string(m_songs.size()) + " songs";
        return {};
    }

    // After a kill mid-change: the picture and the settings are the old ones or the new ones.
    std::string checkSkin()
    {
        const std::string picture = readAll(m_skin / "zelv.jpg");
        if (picture != m_oldPicture && picture != readAll(m_picture))
            return "zelv.jpg holds " + std::to_string(picture.size()) + " bytes, neither picture";
        const std::string settings = readAll(m_skin / "ini.db");
        const std::string applied
            = std::to_string(m_colour) + "\r\n" + (m_skin / "zelv.jpg").string() + "\r\n";
        if (settings != m_oldSettings
            && (settings.rfind(applied, 0) != 0 || settings.size() < 2
                || settings.substr(settings.size() - 2) != "\r\n"))
            return "ini.db is neither the old settings nor the new ones";
        return {};
    }

    static std::string leftovers(const fs::path& folder)
    {
        std::vector<std::string> hidden;
        contents(folder, &hidden);
        return hidden.empty() ? std::string() : "the next start left " + hidden.front();
    }

    Options m_o;
    Work m_work;
    std::mt19937 m_rng;
    fs::path m_dir;
    fs::path m_downloads;
    fs::path m_skin;
    std::set<std::string> m_songs;
    std::string m_notes;
    fs::path m_picture;
    int m_colour = 5;
    std::string m_oldPicture;
    std::string m_oldSettings;
};

} // namespace

Outcome runWorkKills(const Options& o, Work work, int songs)
{
    WorkHarness h(o, work, songs);
    return h.run();
}

} // namespace kill_testing
