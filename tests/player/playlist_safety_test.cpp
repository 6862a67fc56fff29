// Profiles that a kill, another program or a hand left damaged: the player starts on each,
// keeps running with its designed texts, and never makes the damage worse.
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "player_fixture.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"

using namespace player_testing;

namespace fs = std::filesystem;

namespace {

void makeOld(const std::string& file)
{
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

// The playlist folder on a disk that is full once it holds files: a tiny file system filled
// up where the test may mount one, else a file size limit of 0 that fails every write.
class FullDisk {
public:
    FullDisk(const std::string& folder, const std::map<std::string, std::string>& files)
        : m_folder(folder)
    {
        m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
        for (const auto& [name, bytes] : files)
            writeBytes(folder + "/" + name, bytes);
        if (m_mounted) {
            std::ofstream(folder + "/filler") << std::string(128 * 1024, 'x');
        } else {
            std::signal(SIGXFSZ, SIG_IGN);
            ::getrlimit(RLIMIT_FSIZE, &m_limit);
            const rlimit none { 0, m_limit.rlim_max };
            ::setrlimit(RLIMIT_FSIZE, &none);
        }
    }
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.c_str(), MNT_DETACH);
        else
            ::setrlimit(RLIMIT_FSIZE, &m_limit);
    }
    const char* notice() const { return m_mounted ? player::kDiskFullNotSaved : player::kPlaylistNotSaved; }

private:
    std::string m_folder;
    bool m_mounted = false;
    rlimit m_limit {};
};

} // namespace

TEST(DamagedProfile, TheNextStartShowsAWholePair)
{
    // The kind and size of the names file.
    const auto shape = [](testing_support::TestProgram& p) {
        const std::string names = p.dataFile("Temp/mname.ini");
        return std::pair(fs::status(names).type(), fs::is_regular_file(names) ? fs::file_size(names) : 0);
    };
    // Each row of damaged_profiles.tsv: the damage, the files it leaves ("name=bytes" parted by
    // "|": @fifo makes a FIFO, @oversize a file too large to read, DATA/ stands for the data
    // folder), the music list shown after the start, and whether the list is said unreadable.
    for (const auto& r : testing_support::testRows("player/damaged_profiles.tsv", true)) {
        SCOPED_TRACE(r.name);
        testing_support::TestProgram p;
        for (const std::string& file : parts(r.at(0))) {
            const std::string path = p.dataFile(file.substr(0, file.find('=')));
            const std::string bytes = vb::Replace(file.substr(file.find('=') + 1), "DATA/", p.dataFile(""));
            fs::create_directories(fs::path(path).parent_path());
            if (bytes == "@fifo") {
                ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
                continue;
            }
            writeBytes(path, bytes == "@oversize" ? "" : bytes);
            if (bytes == "@oversize")
                fs::resize_file(path, player::kMaxPlaylistBytes + 1);
            makeOld(path);
        }
        const std::vector<std::string> messages = r.at(2).empty()
            ? std::vector<std::string> {}
            : std::vector<std::string> { player::kUnreadablePlaylist };
        const auto before = shape(p);
        p.start();
        p.app.get<shell::moban>().Label7.mouseDown({ runtime::LeftButton, 0, 0, 0 });
        p.app.runUntilIdle();
        player::Form5& f = p.app.get<player::Form5>();
        EXPECT_EQ(f.List1.items(), parts(r.at(1)));
        EXPECT_EQ(f.List1.listCount(), f.List2.listCount());
        std::vector<std::string> shown = p.messages();
        // The message comes once per reading of the list: at the load and at the tab's show.
        shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
        EXPECT_EQ(shown, messages);
        // Nothing half-done is left beside the playlists, and a damaged file is kept as it was.
        for (const auto& e : fs::directory_iterator(p.dataFile("Temp")))
            EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
        if (!messages.empty()) {
            EXPECT_TRUE(shape(p) == before);
        }
        EXPECT_FALSE(p.app.ended());
    }
}

TEST_F(PlayerTest, APlaylistThatCannotBeReadIsNeverRewritten)
{
    const std::string song = makeMedia({ "a.mp3", "b.mp3" });
    writeListFile("mname.ini", "");
    fs::resize_file(p.dataFile("Temp/mname.ini"), player::kMaxPlaylistBytes + 1);
    p.messages();
    drop({ song });
    // The list works in memory; the file keeps its size, and the song still plays.
    EXPECT_EQ(player().List1.items(), (std::vector<std::string> { ">a.mp3", ">b.mp3" }));
    EXPECT_EQ(fs::file_size(p.dataFile("Temp/mname.ini")), player::kMaxPlaylistBytes + 1);
    EXPECT_EQ(listFile("mpath.ini"), "");
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + song });
    EXPECT_EQ(p.messages(), std::vector<std::string> { player::kUnreadablePlaylist });

    p.dialogs->queueAnswer(platform::AnswerYes);
    tray().lieqing.click();
    p.app.runUntilIdle();
    EXPECT_EQ(fs::file_size(p.dataFile("Temp/mname.ini")), player::kMaxPlaylistBytes + 1);
    EXPECT_EQ(player().Text4.text(), player::kPlaylistNotSaved);
}

TEST_F(PlayerTest, NamesWithLineBreaksAreLeftOut)
{
    const std::string song = makeMedia({ "a.mp3", "b\nc.mp3", "d\r.mp3", "e.mp3" });
    drop({ song });
    EXPECT_EQ(listFile("mname.ini"), crlf({ ">a.mp3", ">e.mp3" }));
    EXPECT_EQ(listFile("mpath.ini"), crlf({ media("a.mp3"), media("e.mp3") }));
    // The dropped song plays first; the status line then says what was left out.
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + song });
    EXPECT_EQ(player().Text4.text(), std::string("有2") + player::kLineBreakNames);
}

TEST_F(PlayerTest, AFifoDroppedAsABackgroundPictureIsRefusedWithoutWaiting)
{
    const std::string fifo = media("pipe.jpg");
    fs::create_directories(media(""));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string before = readBytes(p.dataFile("skin/zelv.jpg"));
    p.app.get<settings::setz>().Label10_DragDrop({ fifo });
    p.app.runUntilIdle();
    EXPECT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(readBytes(p.dataFile("skin/zelv.jpg")), before);
}

TEST_F(PlayerTest, AFifoOrAnotherSchemeNeverReachesTheMediaEngine)
{
    const std::string song = makeMedia({ "a.mp3", "b.mp3" });
    const std::string fifo = media("pipe.mp3");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    showList({ "a.mp3", "pipe.mp3", "b.mp3" });
    doubleClick(0);
    player().WindowsMediaPlayer1.reportPlayState(runtime::PlayPlaying);
    mediaCalls();
    // Next onto the FIFO: the song before it closes and the player says it cannot play this.
    player().Image10.click();
    p.app.runUntilIdle();
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "refused " + fifo, "undecodable" }));
    EXPECT_EQ(player().WindowsMediaPlayer1.playState(), runtime::PlayReady);
    EXPECT_TRUE(holds(player().Text5.text(), player::kUndecodable));
    EXPECT_TRUE(player().Text5.visible());
    // Addresses of other schemes reach it only as the network streams the dispatcher plays.
    for (const std::string& address : { "file://" + song, std::string("smb://host/b.mp3"), "edl://" + song })
        dispatch(address);
    dispatch("rtsp://host/b.mp3");
    EXPECT_EQ(mediaCalls(),
        (std::vector<std::string> { "refused file://" + song, "undecodable", "refused smb://host/b.mp3",
            "undecodable", "refused edl://" + song, "undecodable", "url rtsp://host/b.mp3" }));
}

TEST_F(PlayerTest, AFailedWriteKeepsTheListAsStored)
{
    const std::string song = makeMedia({ "a.mp3", "b.mp3", "c.mp3" });
    const std::string seed = makeMedia({ "s.torrent" });
    const std::map<std::string, std::string> stored
        = { { "mname.ini", crlf({ ">x.mp3" }) }, { "mpath.ini", crlf({ "/m/x.mp3" }) },
              { "vname.ini", crlf({ ">y.avi" }) }, { "vpath.ini", crlf({ "/m/y.avi" }) } };
    const std::pair<const char*, std::function<void()>> rows[] = {
        { "add", [&] { drop({ song }); } },
        { "seed", [&] { drop({ seed }); } },
        { "delete",
            [&] {
                player().List1.setListIndex(0);
                tray().del.click();
            } },
        { "clear",
            [&] {
                p.dialogs->queueAnswer(platform::AnswerYes);
                tray().lieqing.click();
            } },
    };
    for (const auto& [what, act] : rows) {
        SCOPED_TRACE(what);
        FullDisk full(p.dataFile("Temp"), stored);
        player().Label5.click();
        act();
        p.app.runUntilIdle();
        const std::string shown
            = player().liebiao.text() == player::kVideoListCaption ? "vname.ini" : "mname.ini";
        EXPECT_EQ(crlf(player().List1.items()), stored.at(shown));
        EXPECT_EQ(listFile(shown), stored.at(shown));
        EXPECT_EQ(player().Text4.text(), full.notice());
    }
}
