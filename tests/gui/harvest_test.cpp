// The song harvest over the real web engine: a page plays a song from the loopback server,
// and the harvest puts the same bytes into the desktop download folder.
#include <algorithm>

#include <QDir>
#include <QFile>

#include "desktop_fixture.h"
#include "gui/engine_media_cache.h"
#include "gui/renderer.h"
#include "music/music_window.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "shell/updater_window.h"
#include "support/fixture_server.h"
#include "video/harvest_window.h"

namespace gui_testing {
namespace {

// A few seconds of silent MPEG audio: frames of 417 bytes, 128 kbit/s at 44.1 kHz.
std::string silentMp3(int frames)
{
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    std::string song;
    for (int i = 0; i < frames; ++i)
        song += frame;
    return song;
}

class DesktopHarvest : public DesktopTest {
protected:
    void SetUp() override
    {
        session().startProgram();
        ASSERT_TRUE(waitFor([&] { return session().renderer().shownAndPainted(); }));
        // The questions and messages are answered here rather than on the screen.
        app().provide<platform::Dialogs>(dialogs);
        app().service<platform::Config>().set("browser_cache", dir.file("cache"));
    }
    std::string downloads()
    {
        return app().service<platform::Environment>().desktopFolder() + "/Zelvora下载区";
    }
    std::shared_ptr<platform::ScriptedDialogs> dialogs = std::make_shared<platform::ScriptedDialogs>();
    testing_support::FixtureServer server;
};

TEST_F(DesktopHarvest, ASongAPagePlayedIsHarvestedByteForByte)
{
    const std::string song = silentMp3(240);
    server.addPage("/music/晚风.mp3", song, "audio/mpeg");
    server.addPage("/player.html",
        "<html><body><audio src='/music/%E6%99%9A%E9%A3%8E.mp3' preload='auto' autoplay muted></audio>"
        "<audio src='/music/missing.mp3' preload='auto'></audio></body></html>");
    auto& music = app().get<music::Form1>();
    session().run([&] { music.WebBrowser1.navigate(server.url("/player.html")); });
    ASSERT_TRUE(waitFor(
        [&] { return server.hits("/music/晚风.mp3") > 0 && server.hits("/music/missing.mp3") > 0; }, 30000));
    settle(500);

    // The prompt of the music window, "秒杀歌曲", and the window closing itself afterwards.
    auto harvest = [&] {
        session().run([&] { music.Command1.click(); });
        auto& updater = app().get<shell::Form4>();
        session().run([&] { updater.Command2.click(); });
        // A harvest that found no song leaves the window to its close button.
        if (updater.Command3.caption() == "关闭")
            session().run([&] { updater.Command3.click(); });
        EXPECT_TRUE(waitFor([&] { return !app().isLoaded<shell::Form4>(); }, 30000));
        const auto shown = dialogs->takeMessages();
        return shown.size() == 1 ? shown[0].request.text : std::string();
    };
    // The song the server no longer has is left out and counted.
    const std::string partial
        = "下载成功，并存储在桌面“Zelvora下载区”文件夹内，请注意查收！\n有1首歌曲尚未缓存完毕，没有下载";
    EXPECT_EQ(harvest(), partial);
    QFile copy(QString::fromStdString(downloads() + "/未命名 - 1 晚风.mp3"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly))
        << QDir(QString::fromStdString(downloads())).entryList().join(",").toStdString();
    EXPECT_TRUE(copy.readAll() == QByteArray::fromStdString(song));

    // A harvested song is not harvested again until a page plays it again.
    EXPECT_EQ(harvest(), std::string(video::kNothingHarvested) + "\n有1首歌曲尚未缓存完毕，没有下载");
    EXPECT_EQ(QDir(QString::fromStdString(downloads())).entryList(QDir::Files).size(), 2);
}

TEST_F(DesktopHarvest, SongsPlayedInAnEarlierRunWaitInTheStoreUntilHarvested)
{
    const std::string song = silentMp3(30);
    server.addPage("/old/first.mp3", song, "audio/mpeg");
    const std::string store = dir.file("played-media.txt");
    const std::string address = server.url("/old/first.mp3");
    testing_support::writeBytes(store, "not an address\n" + address + "\t" + server.url("/page") + "\n");
    {
        gui::EngineMediaCache cache(session().webModule(), store);
        const platform::MediaListing listing = cache.list();
        const auto found = std::find_if(listing.entries.begin(), listing.entries.end(),
            [&](const platform::CachedMedia& e) { return e.source == address; });
        ASSERT_NE(found, listing.entries.end());
        EXPECT_EQ(found->title, "first");
        EXPECT_EQ(found->extension, ".mp3");
        ASSERT_EQ(cache.copy(*found, dir.file("copy.mp3")), platform::MediaStep::Done);
        EXPECT_EQ(testing_support::readBytes(dir.file("copy.mp3")), song);
        // Kept for the next run until harvested.
        EXPECT_NE(testing_support::readBytes(store).find(address), std::string::npos);
        cache.remove(*found);
    }
    EXPECT_EQ(testing_support::readBytes(store).find(address), std::string::npos);
}

} // namespace
} // namespace gui_testing
