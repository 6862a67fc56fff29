#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "music/music_window.h"
#include "platform/media_cache.h"
#include "shell/updater_window.h"
#include "support/test_program.h"

using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;
namespace fs = std::filesystem;

namespace {

const std::string kDone = "下载成功，并存储在桌面“Zelvora下载区”文件夹内，请注意查收！";

// The program's web engine as the harvest sees it: entries with their bytes, some of which
// cannot be copied.
class FakeEngineCache : public platform::MediaCache {
public:
    struct Song {
        platform::CachedMedia entry;
        std::string bytes;
        bool copyFails = false;
    };
    platform::MediaListing list() override
    {
        platform::MediaListing l;
        for (const Song& s : songs)
            l.entries.push_back(s.entry);
        l.partial = partial;
        return l;
    }
    platform::MediaStep copy(const platform::CachedMedia& e, const std::string& target) override
    {
        const Song& s = *std::find_if(
            songs.begin(), songs.end(), [&](const Song& song) { return song.entry.source == e.source; });
        if (s.copyFails)
            return platform::MediaStep::Failed;
        writeBytes(target, s.bytes);
        return platform::MediaStep::Done;
    }
    platform::MediaStep remove(const platform::CachedMedia& e) override
    {
        removed.push_back(e.source);
        return platform::MediaStep::Done;
    }
    std::vector<Song> songs;
    std::vector<std::string> removed;
    int partial = 0;
};

class HarvestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.config->set("browser_cache", p.dir.file("cache"));
        fs::create_directories(layout());
        p.start();
    }
    std::string layout() const { return p.dir.file("cache") + "/Content.IE5"; }
    std::string cached(const std::string& relative) const { return layout() + "/" + relative; }
    std::string downloads() const { return p.env->desktopFolder() + "/Zelvora下载区"; }
    std::string download(const std::string& name) const { return downloads() + "/" + name; }
    // The files in the download folder, notes left out.
    std::set<std::string> harvested() const
    {
        std::set<std::string> names;
        if (fs::exists(downloads()))
            for (const auto& e : fs::directory_iterator(downloads()))
                if (e.path().filename() != "使用说明.txt")
                    names.insert(e.path().filename().string());
        return names;
    }
    // Opens the harvest prompt from the music window and presses "秒杀歌曲".
    shell::Form4& harvestFromThePrompt()
    {
        p.app.get<music::Form1>().Command1.click();
        p.app.advance(1);
        shell::Form4& updater = p.app.get<shell::Form4>();
        updater.Command2.click();
        return updater;
    }
    TestProgram p;
};

} // namespace

TEST_F(HarvestTest, ThePromptHarvestsTheLayout)
{
    writeBytes(cached("A1/song.mp3"), "mp3 bytes");
    writeBytes(cached("A1/Tune.M4A"), "m4a bytes");
    writeBytes(cached("A1/clip.mp4"), "not a song");
    writeBytes(cached("top.mp3"), "outside any subfolder");
    shell::Form4& updater = harvestFromThePrompt();

    EXPECT_EQ(harvested(), (std::set<std::string> { "未命名 - 1.mp3", "未命名 - 1.M4A" }));
    // The notes beside the songs, byte for byte (UTF-8 is this installation's code page).
    EXPECT_EQ(
        readBytes(download("使用说明.txt")), readBytes(testing_support::testData("video/harvest_notes.txt")));
    EXPECT_TRUE(fs::exists(cached("A1/clip.mp4")));
    EXPECT_TRUE(fs::exists(cached("top.mp3")));

    EXPECT_EQ(p.messages(), std::vector<std::string> { kDone });
    EXPECT_EQ(updater.Command3.caption(), "下载成功");
    EXPECT_EQ(updater.Label1.caption(), "恭喜您，下载成功！");
    // The watch closes the window on its next tick.
    p.app.advance(1000);
    EXPECT_FALSE(p.app.isLoaded<shell::Form4>());
}

TEST_F(HarvestTest, CopiesGetUniqueNamesWithoutDuplicates)
{
    // Each row of harvest_cache.tsv: a file of one cache folder and its bytes. The last is a song
    // a harvest stopped half-way copied already, leaving its original.
    for (const auto& row : testing_support::testRows("video/harvest_cache.tsv", true))
        writeBytes(cached("one/" + row.at(0)), row.at(1));
    writeBytes(download("未命名 - 1.mp3"), "from an earlier harvest");
    harvestFromThePrompt();

    std::multiset<std::string> contents;
    for (const std::string& name : harvested())
        contents.insert(readBytes(download(name)));
    EXPECT_EQ(contents,
        (std::multiset<std::string> {
            "from an earlier harvest", "first song", "second song", "odd name", "no dot", "" }));
    EXPECT_EQ(harvested(),
        (std::set<std::string> { "未命名 - 1.mp3", "未命名 - 1 (2).mp3", "未命名 - 1 (3).mp3",
            "未命名 - 1 (4).mp3", "未命名 - 1.aac", "未命名 - 1.flv" }));
    EXPECT_TRUE(fs::is_empty(cached("one")));
}

TEST_F(HarvestTest, NotesThatCannotBeWrittenAreToldApartFromTheSongs)
{
    writeBytes(cached("A/song.mp3"), "song");
    fs::create_directories(download("使用说明.txt/in the way"));
    harvestFromThePrompt();
    EXPECT_EQ(harvested(), std::set<std::string> { "未命名 - 1.mp3" });
    const std::vector<std::string> texts = p.messages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(kDone + "\n使用说明.txt无法写入：", 0), 0u) << texts[0];
}

TEST_F(HarvestTest, ASongTheBrowserIsStillWritingStaysInTheCache)
{
    for (int i = 0; i < 400; ++i)
        writeBytes(cached("s/" + std::to_string(i) + ".mp3"), "song " + std::to_string(i));
    // The browser holds the song open and adds to it again once its copy is made.
    const std::string growing = cached("s/growing.m4a");
    const std::string burst(65536, 'g');
    std::ofstream out(growing, std::ios::binary);
    out << burst << std::flush;
    std::atomic<bool> done { false };
    std::thread browser([&] {
        while (!done && !fs::exists(download("未命名 - 1.m4a")))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        out << burst << std::flush;
    });
    harvestFromThePrompt();
    done = true;
    browser.join();
    out.close();
    EXPECT_EQ(harvested().size(), 400u);
    EXPECT_EQ(fs::exists(growing) ? fs::file_size(growing) : 0, 2 * burst.size());
    EXPECT_EQ(p.messages(), std::vector<std::string> { kDone + "\n有1首歌曲尚未缓存完毕，没有下载" });
}

TEST_F(HarvestTest, AHarvestThatCannotRunSaysWhy)
{
    const struct {
        const char* name;
        std::function<void()> breakIt;
        std::string message;
    } rows[] = {
        { "no cache folder", [&] { fs::remove_all(layout()); }, "没有找到浏览器缓存文件夹：" + layout() },
        { "download folder is a file", [&] { writeBytes(downloads(), "in the way"); },
            "无法在桌面创建“Zelvora下载区”文件夹，请检查桌面文件夹是否可以写入" },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        writeBytes(cached("A/kept.mp3"), "song");
        r.breakIt();
        shell::Form4& updater = harvestFromThePrompt();
        EXPECT_EQ(p.messages(), std::vector<std::string> { r.message });
        EXPECT_EQ(updater.Command2.caption(), "下载失败");
        EXPECT_EQ(updater.Command3.caption(), "关闭");
        p.app.advance(3000);
        EXPECT_FALSE(updater.Timer2.enabled());
        updater.Command3.click();
        EXPECT_FALSE(p.app.isLoaded<shell::Form4>());
        EXPECT_TRUE(p.app.get<music::Form1>().Command1.enabled());
        fs::remove_all(downloads());
        fs::create_directories(layout());
    }
}

TEST_F(HarvestTest, EngineSongsAreCopiedUnderTheirNames)
{
    auto engine = std::make_shared<FakeEngineCache>();
    // Each song: its group, source, extension and title, then its bytes and whether its copy fails.
    engine->songs = {
        { { 1, "http://m/1/夜曲.mp3", ".mp3", "夜曲", -1, -1, {} }, "night", false },
        { { 1, "http://m/2/stream", ".m4a", "", -1, -1, {} }, "stream", false },
        { { 1, "http://m/3/a/b.mp3", ".mp3", "../b", -1, -1, {} }, "slash", false },
        { { 1, "http://m/4/lost.aac", ".aac", "lost", -1, -1, {} }, "never", true },
    };
    engine->partial = 2;
    p.app.provide<platform::MediaCache>(engine);
    writeBytes(cached("L/x.mp3"), "layout song");
    harvestFromThePrompt();

    EXPECT_EQ(harvested(),
        (std::set<std::string> {
            "未命名 - 1.mp3", "未命名 - 2 夜曲.mp3", "未命名 - 2.m4a", "未命名 - 2 .._b.mp3" }));
    EXPECT_EQ(readBytes(download("未命名 - 2 夜曲.mp3")), "night");
    EXPECT_EQ(engine->removed,
        (std::vector<std::string> { "http://m/1/夜曲.mp3", "http://m/2/stream", "http://m/3/a/b.mp3" }));
    EXPECT_EQ(p.messages(),
        std::vector<std::string> {
            kDone + "\n有2首歌曲尚未缓存完毕，没有下载\n有1首歌曲无法复制，仍保留在缓存中" });
}

TEST(MediaNames, MediaExtensions)
{
    for (const auto& row : testing_support::testRows("video/media_names.tsv", true)) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(platform::isMediaName(row[0]), row[1] == "1") << row[0];
        if (row[1] == "1") {
            EXPECT_EQ(platform::mediaExtension(row[0]), row[2]) << row[0];
        }
    }
    // The media types a download names its file after; others give no extension.
    for (const auto& row : testing_support::testRows("video/media_types.tsv"))
        EXPECT_EQ(platform::extensionForMediaType(row[0]), row.size() > 1 ? row[1] : "") << row.name;
}
