#include <filesystem>
#include <fstream>

#include "downloads/list_window.h"
#include "music/site_list_window.h"
#include "platform/notices.h"
#include "resources/resources.h"
#include "runtime/vbtext.h"
#include "support/temp_dir.h"
#include "video/resolve_page.h"
#include "video/web_play_window.h"
#include "video_fixture.h"

using testing_support::FixtureServer;
using testing_support::readBytes;
using video_testing::resultPage;
using video_testing::VideoTest;

namespace {

const std::string kName = "测试视频 第1集";
const std::string kNothing = "没能从解析结果中找到视频地址，请检查地址或稍后再试";

class VideoWindowTest : public VideoTest {
protected:
    // A resolvable video with a normal and a high-definition file on the loopback server.
    void serveVideo(bool highDefinition = true)
    {
        server.addPage("/v/normal.flv", FixtureServer::pattern(0, 300000), "video/x-flv");
        server.addPage("/v/hd.flv", FixtureServer::pattern(7, 500000), "video/x-flv");
        serveResult(pageAddress(), resultPage(kName, normalAddress(), highDefinition ? "解析成功" : "暂无"));
        serveResult(pageAddress(), resultPage(kName, hdAddress(), "解析成功"), true);
    }
    std::string normalAddress() const { return server.url("/v/normal.flv?k=false;"); }
    std::string hdAddress() const { return server.url("/v/hd.flv?k=false;"); }
};

} // namespace

TEST_F(VideoWindowTest, OpensWithThePrompt)
{
    EXPECT_EQ(w().Text3.text(), "请输入播放视频页面的地址");
    EXPECT_EQ(w().yulan.caption(), "\r\n\r\n视频预览区");
    EXPECT_TRUE(w().WebBrowser1.silent());
    const std::string notes = w().Label15.caption();
    EXPECT_EQ(notes.rfind("①：在本软件左下方可查看本软件支持哪些网站的视频解析\r\n", 0), 0u);
    EXPECT_NE(
        notes.find("\r\n⑦：如果您遇到分割视频下载，请按提示，点击下载按钮即可\r\n⑧："), std::string::npos);
    EXPECT_NE(notes.find("\r\n⑩："), std::string::npos);
}

TEST_F(VideoWindowTest, RefusedAddressesOnlyShowTheirTip)
{
    serveVideo();
    // Columns: the address ("PAGE" is the loopback video page), whether the probe answers, the tip.
    for (auto row : testing_support::testRows("video/refused_addresses.tsv")) {
        SCOPED_TRACE(row.name);
        if (row[0] == "PAGE")
            row[0] = pageAddress();
        else if (row[0] == "-")
            row[0].clear();
        p.config->set("probe", row[1] == "1" ? server.url("/") : FixtureServer::refusedUrl());
        resolve(row[0]);
        EXPECT_EQ(w().Label4.caption(), row[2]) << row[0];
        EXPECT_FALSE(w().Text4.enabled());
        EXPECT_EQ(w().Label7.caption(), "暂无任务");
    }
}

TEST_F(VideoWindowTest, ResolvingAVideoFillsEveryResult)
{
    serveVideo();
    resolve(pageAddress());
    EXPECT_EQ(w().Label7.caption(), kName);
    EXPECT_EQ(w().Text4.text(), normalAddress());
    EXPECT_EQ(w().Text5.text(), hdAddress());
    EXPECT_TRUE(w().Command11.enabled());
    // The address travels exactly as typed; the high-definition query adds its keys.
    EXPECT_EQ(server.targets("/parse.php"),
        (std::vector<std::string> { "/parse.php?format=&kw=" + pageAddress(),
            "/parse.php?format=&kw=" + pageAddress() + "&flag=one&format=real" }));

    // The preview page offers the high-definition file first; the addresses end their attributes.
    const std::string page = std::string(resources::get("video/youj1.htm")) + hdAddress() + "\" title='"
        + std::string(resources::get("video/youj2.htm")) + normalAddress() + "\" title='"
        + std::string(resources::get("video/youj3.htm"));
    EXPECT_EQ(w().WebBrowser1.documentText(), page);

    // The results copy, download and open the other windows.
    w().Text4.click();
    EXPECT_EQ(p.clipboard->text(), normalAddress());
    EXPECT_EQ(p.messages(), std::vector<std::string> { "复制成功!" });

    w().Label17.click();
    EXPECT_EQ(p.app.get<video::play>().Text1.text(), pageAddress());
    w().Label5.click();
    EXPECT_TRUE(p.app.get<music::Form3>().modal());

    w().Command10.click();
    EXPECT_EQ(w().Label3.caption(), "下载完成！");
    EXPECT_TRUE(readBytes(downloaded(kName + ".flv")) == FixtureServer::pattern(0, 300000));

    // The second download keeps the first: it takes the next free name.
    w().Command11.click();
    EXPECT_EQ(w().Label3.caption(), "下载完成！");
    EXPECT_TRUE(readBytes(downloaded(kName + ".flv")) == FixtureServer::pattern(0, 300000));
    EXPECT_TRUE(readBytes(downloaded(kName + " (2).flv")) == FixtureServer::pattern(7, 500000));
    // Nothing but the videos is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(downloaded("")), {}), 2);
    // Both are finished rows of the download list, which the window opens.
    const std::vector<downloads::Job>& rows = downloads::downloadQueue(p.app).jobs();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].title, kName);
    EXPECT_EQ(rows[1].file, downloaded(kName + " (2).flv"));
    EXPECT_EQ(rows[1].state, downloads::JobState::Done);
    w().Command12.click();
    EXPECT_TRUE(p.app.get<downloads::xiazai>().visible());

    // Without a high-definition version only the normal download is offered, and it is not asked for.
    serveVideo(false);
    resolve(pageAddress());
    EXPECT_EQ(w().Text5.text(), "此视频没有高清版本");
    EXPECT_FALSE(w().Command11.enabled());
    EXPECT_EQ(server.targets("/parse.php").size(), 3u);
}

TEST_F(VideoWindowTest, ResultPagesWithoutUsableMarkersResolveNothing)
{
    // Pages of GB2312 text with markers missing or out of order, and three of their own.
    std::vector<std::pair<std::string, std::string>> rows = { { "", "empty page" },
        { resultPage(kName, normalAddress(), "解析成功"), "UTF-8 bytes read as GB2312" },
        { std::string(10 * 1024 * 1024, 'x'), "10 MiB without markers" } };
    for (const auto& row : testing_support::testRows("video/pages_without_markers.tsv"))
        rows.emplace_back(platform::encode(row[0], "GBK"), row.name);
    for (const auto& [bytes, what] : rows) {
        server.addPage("/parse.php?format=&kw=" + pageAddress(), bytes);
        resolve(pageAddress());
        EXPECT_EQ(w().Label4.caption(), kNothing) << what;
        EXPECT_FALSE(w().Command10.enabled()) << what;
    }
}

TEST_F(VideoWindowTest, AFailedDownloadNamesTheServersAnswerOrTheLostConnection)
{
    // The result of a download goes when the next video is resolved.
    serveVideo(false);
    resolve(pageAddress());
    w().Command10.click();
    EXPECT_EQ(w().Label3.caption(), "下载完成！");
    resolve(pageAddress());
    EXPECT_EQ(w().Label3.caption(), "暂无任务");

    // A missing and a refused video, a refused connection, then a video with a file where the
    // desktop is.
    const std::string blocked = server.url("/bytes/10");
    const std::pair<std::string, std::string> rows[]
        = { { server.url("/status/404"), "下载失败：服务器返回404" },
              { server.url("/status/503"), "下载失败：服务器返回503" },
              { FixtureServer::refusedUrl(), "失败，您刚刚断网了" }, { blocked, "失败，您刚刚断网了" } };
    for (const auto& [address, said] : rows) {
        w().Label7.setCaption("x");
        if (address == blocked) {
            std::filesystem::remove_all(p.env->desktopFolder());
            std::ofstream(p.env->desktopFolder()) << "a file where the desktop folder should be";
        }
        w().Text4.setText(address);
        w().Command10.click();
        EXPECT_EQ(w().Label3.caption(), said) << address;
    }
}

TEST_F(VideoWindowTest, BothDownloadWindowsDrawTheirBarsOnlyForReportsWithALength)
{
    video::fenge& splitter = p.app.get<video::fenge>();
    w().Label4.setCaption("tip");
    w().Label3.setCaption("old");
    // The split window's speed counts from the run's start (the clock's 0 here): 50 bytes in
    // 2 s read 0 KB/s.
    dynamic_cast<runtime::VirtualClock&>(p.app.clock()).set(p.app.now() + 2000);
    // Columns: the window, bytes, length, speed; its bar's text before the marks and how many
    // marks follow; its other label (the percentage or the speed).
    for (const auto& row : testing_support::testRows("video/progress_reports.tsv")) {
        SCOPED_TRACE(row.name);
        const bool split = row[0] == "split";
        const int64_t loaded = std::stoll(row[1]), length = std::stoll(row[2]);
        const int32_t speed = std::stoi(row[3]);
        if (split)
            splitter.oDownload_OnProgress(loaded, length, speed, 5, "");
        else
            w().oDownload_OnProgress(loaded, length, speed, 5, "");
        std::string bar = row[4];
        for (int i = std::stoi(row[5]); i > 0; --i)
            bar += "■";
        EXPECT_EQ((split ? splitter.Label4 : w().Label4).caption(), bar) << row[1] << "/" << row[2];
        EXPECT_EQ((split ? splitter.Label5 : w().Label3).caption(), row[6]) << row[1] << "/" << row[2];
    }
}

TEST_F(VideoWindowTest, ACopiedVideoAddressIsOfferedOnlyWhenTurnedOn)
{
    auto notices = std::make_shared<platform::Notices>();
    p.app.provide<platform::Notices>(notices);
    p.clipboard->setText(pageAddress());
    p.app.advance(3000);
    EXPECT_TRUE(notices->shown().empty());

    // On: what the clipboard held already is not offered; a newly copied page of a supported
    // site is, once; another site's address is not.
    w().Check1.click();
    p.app.advance(1100);
    const std::string page = server.url("/play/2.html");
    for (const std::string& copied : { page, std::string("http://elsewhere.example/v/1.html"), page })
        p.clipboard->setText(copied), p.app.advance(1100);
    ASSERT_EQ(notices->shown().size(), 1u);
    EXPECT_EQ(notices->shown()[0].title + notices->shown()[0].text, "下载这个视频？" + page);
    EXPECT_TRUE(downloads::downloadQueue(p.app).jobs().empty());
    EXPECT_EQ(server.hits("/play/2.html"), 0);
    // The click puts the address in the window; resolving it is the person's.
    EXPECT_TRUE(notices->clickLatest());
    EXPECT_EQ(w().Text3.text(), page);
    EXPECT_TRUE(w().Command9.enabled());
    EXPECT_TRUE(downloads::readList(p.profilePath("my documents/zelv/downloads.lst")).settings.offerCopied);
}

TEST_F(VideoWindowTest, AVideoBehindALoginRetriesAfterTheBrowsersLogin)
{
    // yt-dlp's words for a site that wants an account, as it writes them on its error output.
    testing_support::TempDir tools;
    const std::string calls = tools.file("calls");
    std::ofstream(tools.file("yt-dlp"))
        << "#!/bin/sh\necho x >>" << calls
        << "\necho 'ERROR: [BiliBili] BV1: 1080P 720P are only available for "
           "registered users. Use --cookies to provide account credentials' >&2\n"
           "exit 1\n";
    std::filesystem::permissions(tools.file("yt-dlp"), std::filesystem::perms::owner_all);
    p.config->set("ytdlp", tools.file("yt-dlp"));
    const std::string page = server.url("/video/BV1");
    resolve(page);
    EXPECT_TRUE(w().Label18.visible());
    EXPECT_EQ(w().Label18.caption(), "1080P 需要登录");
    // The first click opens the site to log in; the next resolves again and closes it.
    w().Label19.click();
    EXPECT_TRUE(p.app.get<video::play>().visible());
    EXPECT_EQ(p.app.get<video::play>().Text1.text(), page);
    w().Label19.click();
    EXPECT_FALSE(p.app.get<video::play>().visible());
    EXPECT_EQ(testing_support::readBytes(calls), "x\nx\n");

    const std::pair<const char*, const char*> reasons[] = { { "ERROR: Sign in to confirm your age", "高清" },
        { "ERROR: [x] 1: HTTP Error 404: Not Found", "" }, { "ERROR: 该视频需要大会员 4320p", "4320P" } };
    for (const auto& [reason, quality] : reasons)
        EXPECT_EQ(video::loginQuality(reason), quality) << reason;
}

TEST_F(VideoWindowTest, SafeFileNamesFromAnyVideoName)
{
    for (const auto& row : testing_support::testRows("video/safe_file_names.tsv", true))
        EXPECT_EQ(video::safeFileName(row[0]), row[1]) << row.name;
    std::string longName;
    for (int i = 0; i < 5000; ++i)
        longName += "长";
    const std::string safe = video::safeFileName(longName);
    EXPECT_LE(vb::Len(safe), 120);
    EXPECT_LE(safe.size(), 200u);
    EXPECT_GT(safe.size(), 150u);
}

TEST_F(VideoWindowTest, HttpsPagesAreCheckedAfterTheirScheme)
{
    p.config->set("site.2", "v.youku.com");
    p.config->set("site.13", "v.qq.com");
    for (const auto& row : testing_support::testRows("video/supported_addresses.tsv"))
        EXPECT_EQ(video::siteSupported(*p.config, row[0]), row[1] == "1") << row.name;
}

TEST_F(VideoWindowTest, ADownloadCutShortContinuesWhereItStoppedOnTheNextPress)
{
    // From a server without a validator: the 64 KiB before the cut are asked again with the
    // rest, and a file that differs there is fetched whole instead of spliced.
    const std::string a = FixtureServer::pattern(0, 400000), b = FixtureServer::pattern(1000, 400000);
    for (const bool changed : { false, true }) {
        SCOPED_TRACE(changed ? "changed" : "same");
        const std::string name = changed ? "续传2" : "续传";
        server.addPage("/v.flv", a);
        w().Label7.setCaption(name);
        w().Text4.setText(server.url("/bare/v.flv"));
        server.cutNext("/bare/v.flv", 200000);
        w().Command10.click();
        EXPECT_EQ(w().Label3.caption(), "失败，您刚刚断网了");
        EXPECT_FALSE(std::filesystem::exists(downloaded(name + ".flv")));
        if (changed)
            server.addPage("/v.flv", b);
        w().Command10.click();
        const std::vector<std::string> asked = server.ranges("/bare/v.flv");
        EXPECT_EQ(asked[asked.size() - (changed ? 2 : 1)], "bytes=134464-399999");
        EXPECT_EQ(w().Label3.caption(), "下载完成！");
        EXPECT_TRUE(readBytes(downloaded(name + ".flv")) == (changed ? b : a));
        EXPECT_FALSE(std::filesystem::exists(downloads::partialPath(downloaded(name + ".flv"))));
    }
}
