// The video window on today's sites: resolving through the real yt-dlp and joining with the
// real ffmpeg, against pages on the loopback server.
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "downloads/list_window.h"
#include "media_tools.h"
#include "platform/web_cookies.h"
#include "support/temp_dir.h"
#include "video/page_qualities.h"
#include "video/web_cookies.h"
#include "video/web_list_window.h"
#include "video_fixture.h"

using testing_support::readBytes;
using video_testing::VideoTest;

namespace {

// The loopback server pauses this long before each KiB of a piece but its first.
constexpr int kPauseMs = 20;
constexpr const char* kNothing = "没能从解析结果中找到视频地址，请检查地址或稍后再试";

// The cookies a logged-in page of the engine holds.
class EngineCookies : public platform::WebCookies {
public:
    std::vector<platform::WebCookie> cookies() const override { return held; }
    std::vector<platform::WebCookie> held;
};

class WebToolsTest : public VideoTest {
protected:
    static void SetUpTestSuite()
    {
        media = new testing_support::TempDir;
        std::filesystem::create_directory(media->path() / "hls");
        std::filesystem::create_directory(media->path() / "dash");
        ASSERT_TRUE(media_testing::makeClip(media->file("clip.mp4"), "320x240", 2));
        ASSERT_TRUE(media_testing::makeClip(media->file("clip360.mp4"), "640x360", 1));
        ASSERT_TRUE(media_testing::makeClip(media->file("hls/index.m3u8"), "320x240", 6, "libx264",
            "-f hls -hls_time 1 -hls_list_size 0 -hls_segment_filename " + media->file("hls/seg%d.ts")));
        ASSERT_TRUE(media_testing::makeClip(media->file("dash/index.mpd"), "320x240", 4, "libx264",
            "-f dash -seg_duration 1 -use_template 1 -use_timeline 0"));
    }
    static void TearDownTestSuite() { delete media; }

    void SetUp() override
    {
        VideoTest::SetUp();
        p.config->set("ytdlp", "yt-dlp");
        clip = readBytes(media->path() / "clip.mp4");
        server.addPage("/clip.mp4", clip, "video/mp4");
        for (const std::string folder : { "hls", "dash" }) {
            for (const auto& entry : std::filesystem::directory_iterator(media->path() / folder))
                server.addPage(
                    "/" + folder + "/" + entry.path().filename().string(), readBytes(entry.path()));
        }
        const std::string slowly = "/slowly/1024/" + std::to_string(kPauseMs);
        server.addPage("/live.html", videoPage(slowly + "/hls/index.m3u8"));
        server.addPage("/dash.html", videoPage(slowly + "/dash/index.mpd"));
    }
    static std::string videoPage(const std::string& media)
    {
        return "<html><head><title>测试视频</title></head><body><video src=\"" + media
            + "\" controls></video></body></html>";
    }
    // The file a download of the resolved video writes, named after Label7.
    std::string saved(const std::string& ext)
    {
        return downloaded(video::safeFileName(w().Label7.caption()) + "." + ext);
    }

    static testing_support::TempDir* media;
    std::string clip;
};

testing_support::TempDir* WebToolsTest::media = nullptr;

// The time the server's pauses add when the pieces of folder come one after the other: it
// pauses before each 1 KiB but the first of a piece.
std::chrono::milliseconds oneAfterAnother(const std::string& folder)
{
    std::chrono::milliseconds total { 0 };
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto size = static_cast<long long>(std::filesystem::file_size(entry.path()));
        if (entry.path().extension() != ".m3u8" && entry.path().extension() != ".mpd")
            total += std::chrono::milliseconds(((size + 1023) / 1024 - 1) * kPauseMs);
    }
    return total;
}

TEST_F(WebToolsTest, StreamsInPiecesBecomeOneFile)
{
    // HLS pieces with picture and sound; DASH pieces with picture and sound apart; each piece
    // served slowly.
    const struct {
        const char* name;
        const char* page;
        const char* folder;
        int pieces;
        double seconds;
    } rows[] = { { "hls", "/live.html", "hls", 6, 6.0 }, { "dash", "/dash.html", "dash", 10, 4.0 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        resolve(server.url(row.page));
        EXPECT_EQ(w().Text5.text().rfind("【", 0), 0u) << w().Text5.text();
        const auto began = std::chrono::steady_clock::now();
        w().Command11.click();
        video::fenge& splitter = p.app.get<video::fenge>();
        p.app.runUntilIdle(5000);
        const auto ms
            = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
        EXPECT_EQ(splitter.List1.listCount(), row.pieces) << row.page;
        EXPECT_EQ(splitter.Label8.caption().rfind("状态：下载完成，已合并为", 0), 0u)
            << splitter.Label8.caption();
        const std::string probe = media_testing::probe(saved("mp4"));
        EXPECT_NE(probe.find("codec_type=video"), std::string::npos) << probe;
        EXPECT_NE(probe.find("codec_type=audio"), std::string::npos) << probe;
        EXPECT_NEAR(media_testing::duration(saved("mp4")), row.seconds, 0.3) << row.page;
        // The pieces of a stream come side by side: well within the time of the server's
        // pauses one after the other (the join and the playlist take some time too).
        EXPECT_LT(ms, oneAfterAnother(media->file(row.folder)) * 7 / 10) << row.page;
        // The speed shown is the bytes over the time they took (the joined file holds about
        // as many), never a piece's first report alone (about 0).
        const auto speed = std::stoll(splitter.Label5.caption().substr(std::string("网速：").size()));
        EXPECT_GE(speed * 1024 * ms.count() / 1000,
            static_cast<long long>(std::filesystem::file_size(saved("mp4"))) / 2)
            << splitter.Label5.caption() << " after " << ms.count() << " ms";
        // The pieces went with the join.
        for (const auto& entry :
            std::filesystem::directory_iterator(std::filesystem::path(saved("mp4")).parent_path()))
            EXPECT_EQ(entry.path().filename().string().find(".pieces"), std::string::npos);
        // The next video of the same name would keep this one and take another name.
        std::filesystem::remove(saved("mp4"));
    }
}

TEST_F(WebToolsTest, TheFormatDropDownDrivesTheSecondButton)
{
    resolve(server.url("/dash.html"));
    const std::vector<std::string>& entries = w().Combo1.items();
    std::string all;
    for (const std::string& entry : entries)
        all += entry + "\n";
    // The picture-only format is saved with the sound: it does not read "无声".
    EXPECT_EQ(all.find("无声"), std::string::npos) << all;
    EXPECT_NE(all.find("+ 声音"), std::string::npos) << all;
    EXPECT_EQ(w().Label8.caption(), "所选格式:");
    const auto sound = std::find_if(entries.begin(), entries.end(),
        [](const std::string& e) { return e.find("仅声音") != std::string::npos; });
    ASSERT_NE(sound, entries.end()) << all;
    EXPECT_NE(sound->find("，存为m4a"), std::string::npos) << *sound;

    // The choice shows at once beside the button it drives, and downloads as sound.
    w().Combo1.setListIndex(static_cast<int>(sound - entries.begin()));
    EXPECT_NE(w().Text5.text(), "");
    EXPECT_EQ(w().Text5.text().find("音视频分离"), std::string::npos) << w().Text5.text();
    w().Command11.click();
    p.app.runUntilIdle(5000);
    const std::string probe = media_testing::probe(saved("m4a"));
    EXPECT_NE(probe.find("codec_type=audio"), std::string::npos) << probe;
    EXPECT_EQ(probe.find("codec_type=video"), std::string::npos) << probe;
}

TEST_F(WebToolsTest, AnHlsPieceThatIsAPlaylistOfLocalFilesFailsTheJoin)
{
    // The site's only piece is a playlist of its own, naming a file of this computer.
    const std::string secret = (media->path() / "hls" / "seg0.ts").string();
    const std::string head = "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\n";
    server.addPage("/evil/index.m3u8", head + "seg0.ts\n#EXT-X-ENDLIST\n", "application/vnd.apple.mpegurl");
    server.addPage("/evil/seg0.ts", head + "file://" + secret + "\n#EXT-X-ENDLIST\n", "video/mp2t");
    server.addPage("/evil.html", videoPage("/evil/index.m3u8"));
    resolve(server.url("/evil.html"));
    w().Command11.click();
    p.app.runUntilIdle(5000);
    EXPECT_EQ(p.app.get<video::fenge>().Label8.caption(), "状态：合并失败：有分段不是视频文件，没有合并");
    EXPECT_FALSE(std::filesystem::exists(saved("mp4")));
}

TEST_F(WebToolsTest, APageOnlyALoggedInEngineSeesIsResolvedWithItsCookies)
{
    server.addPage("/cv-page.html", videoPage("/cookie/sid=42/clip.mp4"));
    const std::string address = server.url("/cookie/sid=42/cv-page.html");
    // Without the engine's cookie the site refuses: the designed text and yt-dlp's reason.
    resolve(address);
    EXPECT_EQ(w().Label4.caption().rfind(std::string(kNothing) + "\r\nERROR: ", 0), 0u)
        << w().Label4.caption();
    EXPECT_NE(w().Label4.caption().find("403"), std::string::npos);

    auto cookies = std::make_shared<EngineCookies>();
    cookies->held
        = { { ".example.com", "/", false, 0, "sid", "1" }, { "127.0.0.1", "/", false, 0, "sid", "42" } };
    p.app.provide<platform::WebCookies>(cookies);
    resolve(address);
    EXPECT_EQ(w().Label4.caption(), "");
    w().Command10.click();
    EXPECT_TRUE(readBytes(saved("mp4")) == clip);
    // The cookie file lived only as long as yt-dlp needed it.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(p.env->userProfile()))
        EXPECT_EQ(entry.path().filename().string().find("cookies-"), std::string::npos) << entry.path();
}

TEST_F(WebToolsTest, AQualityThePageListsAboveWhatYtdlpFoundAsksForALogin)
{
    // yt-dlp finds the video at 360p; the page's own menu lists what a visitor may choose.
    server.addPage("/clip360.mp4", readBytes(media->path() / "clip360.mp4"), "video/mp4");
    const struct {
        const char* name;
        const char* menu;
        const char* line;
    } rows[]
        = { { "login_for_1080p", "<li>1080P 高清</li><li>720P</li><li>360P 流畅</li>", "1080P 需要登录" },
              { "login_for_4k", "<li>4K 超清</li><li>1080P60</li><li>h264</li>", "4K 需要登录" },
              { "nothing_above_360p", "<li>360P 流畅</li>", "" },
              { "no_menu", "<p>30fps, 3600kbps, 1280x720</p>", "" } };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string page = "/quality" + std::to_string(++n) + ".html";
        server.addPage(page,
            std::string(
                "<html><head><title>画质</title></head><body><video controls><source src=\"/clip360.mp4\" "
                "type=\"video/mp4\" label=\"360p\" res=\"360\"></video><ul>")
                + row.menu + "</ul></body></html>");
        resolve(server.url(page));
        EXPECT_NE(w().Text5.text(), "") << row.menu;
        EXPECT_EQ(w().Label18.caption(), row.line) << row.menu;
        EXPECT_EQ(w().Label19.visible(), *row.line != 0) << row.menu;
        // Clear of the drop-down of formats.
        EXPECT_GE(w().Label19.top(), w().Combo1.top() + w().Combo1.height());
        // The program fetched the page once, beside yt-dlp's own fetch.
        EXPECT_EQ(server.hits(page), 2) << row.menu;
    }
    // A page that never ends is cut at a bounded size, in a bounded time.
    const auto began = std::chrono::steady_clock::now();
    video::PageFetch endless(p.app, server.url("/endless"));
    EXPECT_LE(endless.bytes(3000).size(), static_cast<size_t>(video::kMaxPageBytes));
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(4));
}

TEST_F(WebToolsTest, APlaylistQueuesTheCheckedEntriesInPageOrder)
{
    // A feed of 100 videos: its entries show quickly, and no entry's page is asked for yet.
    std::string feed
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss version=\"2.0\"><channel><title>合集</title>";
    for (int i = 1; i <= 100; ++i)
        feed += "<item><title>第" + std::to_string(i) + "集</title><guid>" + std::to_string(i)
            + "</guid><enclosure url=\"" + server.url("/clip.mp4?n=" + std::to_string(i))
            + "\" type=\"video/mp4\" length=\"1\"/></item>";
    server.addPage("/feed.xml", feed + "</channel></rss>", "application/rss+xml");
    const auto began = std::chrono::steady_clock::now();
    resolve(server.url("/feed.xml"));
    video::heji& list = p.app.get<video::heji>();
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
    EXPECT_TRUE(list.visible());
    ASSERT_EQ(list.List1.listCount(), 100);
    EXPECT_EQ(list.List1.list(0), std::string(video::kEntryChecked) + "001 第1集");
    EXPECT_EQ(server.hits("/clip.mp4"), 0);

    // Two entries checked, the later one first: queued in page order under their numbers.
    list.Command2.click();
    for (const int row : { 4, 1 }) {
        list.List1.setListIndex(row);
        list.Command3.click();
    }
    EXPECT_EQ(list.List1.list(1), std::string(video::kEntryChecked) + "002 第2集");
    EXPECT_EQ(list.List1.list(2), std::string(video::kEntryUnchecked) + "003 第3集");
    list.Command5.click();
    EXPECT_EQ(list.Label1.caption(), "已把 2 个视频加入下载列表");
    const std::vector<downloads::Job>& rows = downloads::downloadQueue(p.app).jobs();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].title, "002 第2集");
    EXPECT_EQ(rows[1].title, "005 第5集");
    for (int i = 0; i < 400 && downloads::downloadQueue(p.app).busy(); ++i)
        p.app.advance(50);
    EXPECT_TRUE(readBytes(downloaded("002 第2集.mp4")) == clip);
    EXPECT_TRUE(readBytes(downloaded("005 第5集.mp4")) == clip);
}

TEST_F(VideoTest, ARequestCarriesOnlyTheCookiesABrowserWouldSendWithIt)
{
    auto cookies = std::make_shared<EngineCookies>();
    // Expiry dates: long past, and far ahead.
    cookies->held = { { "v.site.cn", "/", false, 0, "host", "1" },
        { ".site.cn", "/", false, 4102444800, "all", "2" },
        { "v.site.cn", "/video", false, 0, "folder", "3" }, { "v.site.cn", "/", true, 0, "secure", "4" },
        { "v.site.cn", "/", false, 1, "gone", "5" }, { "other.cn", "/", false, 0, "other", "6" } };
    p.app.provide<platform::WebCookies>(cookies);
    const std::pair<const char*, const char*> rows[] = {
        { "http://v.site.cn/video/1.flv?x=/video", "Cookie: host=1; all=2; folder=3" },
        { "https://V.Site.cn/video", "Cookie: host=1; all=2; folder=3; secure=4" },
        { "http://v.site.cn/videos/1.flv", "Cookie: host=1; all=2" },
        { "http://cdn.site.cn/video/1.flv", "Cookie: all=2" },
        { "http://evilsite.cn/", "" },
    };
    for (const auto& [address, header] : rows)
        EXPECT_EQ(video::cookieHeader(p.app, address), header) << address;
    // yt-dlp's file keeps every flag for its own requests, and no expired cookie.
    EXPECT_EQ(video::netscapeCookies(cookies->held, "v.site.cn"),
        "# Netscape HTTP Cookie File\nv.site.cn\tFALSE\t/\tFALSE\t0\thost\t1\n"
        ".site.cn\tTRUE\t/\tFALSE\t4102444800\tall\t2\nv.site.cn\tFALSE\t/video\tFALSE\t0\tfolder\t3\n"
        "v.site.cn\tFALSE\t/\tTRUE\t0\tsecure\t4\n");
}

} // namespace
