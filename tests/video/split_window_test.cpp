#include <chrono>
#include <filesystem>

#include "media_tools.h"
#include "runtime/vbtext.h"
#include "support/temp_dir.h"
#include "video_fixture.h"

using testing_support::FixtureServer;
using testing_support::readBytes;
using video_testing::resultPage;
using video_testing::VideoTest;

namespace {

const std::string kName = "分段的/视频";
const std::string kFileName = "分段的_视频";
constexpr size_t kSegmentBytes = 100000;

class SplitWindowTest : public VideoTest {
protected:
    // A segment address longer than 120 characters.
    std::string segment(int index) const
    {
        return server.url("/seg/" + std::to_string(index) + ".flv?pad=" + std::string(130, 'a'));
    }
    // The split video's result page: a split notice where the address would be, and the
    // segment links in document order, with short links around them.
    void serveSplitVideo(const std::vector<std::string>& links)
    {
        std::string anchors;
        for (const std::string& link : links)
            anchors += "<a href=\"" + link + "\">段</a>";
        serveResult(pageAddress(), resultPage(kName, "分段视频请用分段下载 k=false;", "暂无") + anchors);
    }
    void serveSegments(int count)
    {
        for (int i = 0; i < count; ++i)
            server.addPage("/seg/" + std::to_string(i) + ".flv",
                FixtureServer::pattern(static_cast<size_t>(i), kSegmentBytes), "video/x-flv");
    }
    // Resolves the split video and lets the split downloader gather its links.
    video::fenge& openSplitter()
    {
        resolve(pageAddress());
        p.app.advance(1000);
        video::fenge& splitter = p.app.get<video::fenge>();
        settle();
        p.app.advance(1000);
        return splitter;
    }
    // Presses start and lets the segment timer run to its end.
    void start(video::fenge& splitter)
    {
        splitter.Command2.click();
        p.app.advance(1000);
        p.app.runUntilIdle(5000);
    }
    std::string segmentFile(int index) const
    {
        return downloaded(kFileName + "(" + std::to_string(index) + ").flv");
    }
};

} // namespace

TEST_F(SplitWindowTest, ASplitVideoGoesToTheSplitterWhichFetchesItsLongLinksLastFirst)
{
    const std::string exactly120 = server.url("/x?") + std::string(120 - server.url("/x?").size(), 'b');
    serveSplitVideo({ segment(0), server.url("/short"), segment(1), exactly120, segment(2) });
    serveSegments(3);
    video::fenge& splitter = openSplitter();
    EXPECT_EQ(splitter.Label3.caption(), kName);
    EXPECT_EQ(w().Label4.caption(), "分割数据提取成功");
    // Links longer than 120 characters are the segments, the page's last first.
    EXPECT_EQ(splitter.List1.items(), (std::vector<std::string> { segment(2), segment(1), segment(0) }));
    EXPECT_EQ(splitter.caption(), "此视频被该网站分割为3个片段");

    // Each segment is saved under its number in the list.
    const int64_t began = p.app.now();
    start(splitter);
    EXPECT_EQ(
        splitter.Label8.caption(), "状态：分割视频全部下载完成，请检查桌面上“Zelvora下载区”文件夹内的视频");
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            readBytes(segmentFile(i)) == FixtureServer::pattern(static_cast<size_t>(2 - i), kSegmentBytes))
            << i;
    // A whole segment reads 100% (not 99%, as 274 / 2.74 would give in binary fractions).
    EXPECT_EQ(vb::Left(splitter.Label4.caption(), 4), "100%");
    EXPECT_EQ(vb::Len(splitter.Label4.caption()), 4 + 274);
    // The lengths were asked once each, before the first segment.
    EXPECT_EQ(splitter.Label10.caption().rfind("总进度：0.29 MB / 0.29 MB", 0), 0u)
        << splitter.Label10.caption();
    // The whole line on the app's clock: the run began when the window's timer first fired;
    // 100 s later half the last segment is in.
    dynamic_cast<runtime::VirtualClock&>(p.app.clock()).set(began + 1000 + 100000);
    splitter.oDownload_OnProgress(kSegmentBytes / 2, kSegmentBytes, 0, 0, "");
    EXPECT_EQ(splitter.Label10.caption(), "总进度：0.24 MB / 0.29 MB，速度 2KB/S，剩余 00:00:20");
    EXPECT_EQ(splitter.Label5.caption(), "网速：3KB/S");
    EXPECT_EQ(server.hits("/seg/0.flv"), 2);
}

TEST_F(SplitWindowTest, SegmentsComeSideBySideEachIntoItsOwnFile)
{
    // Six segments of 20 KiB; the server pauses 40 ms before each KiB but the first.
    constexpr int kCount = 6, kBytes = 20 * 1024, kPauseMs = 40;
    std::vector<std::string> links;
    for (int i = 0; i < kCount; ++i) {
        server.addPage("/seg/" + std::to_string(i) + ".flv",
            FixtureServer::pattern(static_cast<size_t>(i), kBytes), "video/x-flv");
        links.insert(links.begin(),
            server.url("/slowly/1024/" + std::to_string(kPauseMs) + "/seg/" + std::to_string(i)
                + ".flv?pad=" + std::string(130, 'a')));
    }
    serveSplitVideo(links);
    video::fenge& splitter = openSplitter();
    const auto began = std::chrono::steady_clock::now();
    start(splitter);
    const auto ms
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    EXPECT_EQ(splitter.Label8.caption(), video::kSplitDone);
    EXPECT_EQ(splitter.Text3.text(), std::to_string(kCount));
    for (int i = 0; i < kCount; ++i)
        EXPECT_TRUE(readBytes(segmentFile(i)) == FixtureServer::pattern(static_cast<size_t>(i), kBytes)) << i;
    // Well within the server's pauses one segment after another.
    EXPECT_LT(ms.count(), kCount * (kBytes / 1024 - 1) * kPauseMs * 6 / 10);
}

TEST_F(SplitWindowTest, AFailedSegmentIsRetriedOnTheNextStart)
{
    serveSplitVideo({ segment(2), segment(1), segment(0) });
    video::fenge& splitter = openSplitter();
    // A failure on the first segment retries segment zero.
    start(splitter);
    EXPECT_EQ(splitter.Text3.text(), "0");

    serveSegments(2);
    start(splitter);
    // The missing segment is named as the server's answer, not as a lost connection.
    EXPECT_EQ(splitter.Label8.caption(), "状态：下载失败：服务器返回404，请重新下载");
    EXPECT_EQ(splitter.Text3.text(), "1");
    EXPECT_FALSE(std::filesystem::exists(segmentFile(2)));

    const int hits1 = server.hits("/seg/1.flv"), hits2 = server.hits("/seg/2.flv");
    serveSegments(3);
    start(splitter);
    EXPECT_EQ(splitter.Text3.text(), "3");
    // The next start asks again only for the length that was unknown.
    EXPECT_EQ(server.hits("/seg/1.flv") - hits1, 1);
    EXPECT_EQ(server.hits("/seg/2.flv") - hits2, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            readBytes(segmentFile(i)) == FixtureServer::pattern(static_cast<size_t>(i), kSegmentBytes))
            << i;
}

TEST_F(SplitWindowTest, TheWindowsTimersRunWhileTheSegmentLengthsAreAsked)
{
    // The server takes 0.6 s to answer each request for these segments.
    const std::string slow = server.url("/slow/600?pad=" + std::string(130, 'a'));
    serveSplitVideo({ slow + "1", slow + "0" });
    video::fenge& splitter = openSplitter();
    // The status an earlier failed run left.
    splitter.Label8.setCaption(video::kSplitFailed);
    const auto begin = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firedAfter = std::chrono::hours(1);
    std::string statusMeanwhile;
    splitter.Timer1.onTimer = [&] {
        firedAfter = std::chrono::steady_clock::now() - begin;
        statusMeanwhile = splitter.Label8.caption();
        splitter.Timer1.setEnabled(false);
    };
    splitter.Command2.click();
    // Due together with the first segment tick, after it.
    splitter.Timer1.start(1000);
    p.app.advance(1000);
    EXPECT_LT(firedAfter, std::chrono::milliseconds(500));
    // The new run says so at once, not after the lengths arrived.
    EXPECT_NE(statusMeanwhile, video::kSplitFailed);
    p.app.runUntilIdle(5000);
}

TEST_F(SplitWindowTest, SegmentsKeepTheNameTheyStartedWith)
{
    serveSplitVideo({ segment(1), segment(0) });
    serveSegments(2);
    // An earlier video of the same name left its first segment in the folder.
    ASSERT_TRUE(video::ensureDownloadFolder(p.app));
    testing_support::writeBytes(segmentFile(0), "earlier");
    video::fenge& splitter = openSplitter();
    // Another tile is chosen: the video window goes, and is not brought back.
    p.app.unload<video::Form2>();
    start(splitter);
    EXPECT_FALSE(p.app.isLoaded<video::Form2>());
    EXPECT_EQ(readBytes(segmentFile(0)), "earlier");
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(readBytes(downloaded(kFileName + " (2)(" + std::to_string(i) + ").flv"))
            == FixtureServer::pattern(static_cast<size_t>(i), kSegmentBytes))
            << i;
}

TEST_F(SplitWindowTest, AnHlsPlaylistOfMorePiecesThanAnyVideoIsRefused)
{
    std::string playlist = "#EXTM3U\n";
    for (int i = 0; i < 60000; ++i)
        playlist += "#EXTINF:1,\np.ts\n";
    server.addPage("/long.m3u8", playlist, "application/vnd.apple.mpegurl");
    video::WebFormat track;
    track.url = server.url("/long.m3u8");
    track.protocol = "m3u8_native";
    w().pendingJoin = video::WebJoin { "长", "mp4", { track } };
    video::fenge& splitter = p.app.get<video::fenge>();
    EXPECT_EQ(splitter.Label8.caption(), "状态：此视频的分段超过50000个，不能下载合并");
    EXPECT_EQ(splitter.List1.listCount(), 0);
    EXPECT_EQ(server.hits("/p.ts"), 0);
}

TEST_F(SplitWindowTest, SegmentsJoinInThePagesOrderWhenTheirCodecsMatch)
{
    testing_support::TempDir media;
    ASSERT_TRUE(media_testing::makeClip(media.file("small.mp4"), "160x120", 1));
    ASSERT_TRUE(media_testing::makeClip(media.file("large.mp4"), "320x240", 1));
    ASSERT_TRUE(media_testing::makeClip(media.file("other.mp4"), "320x240", 1, "mpeg4"));
    // The page lists the small segment first; the files are numbered from the last link.
    server.addPage("/seg/0.flv", readBytes(media.file("small.mp4")), "video/mp4");
    server.addPage("/seg/1.flv", readBytes(media.file("large.mp4")), "video/mp4");
    serveSplitVideo({ segment(0), segment(1) });
    video::fenge& splitter = openSplitter();
    EXPECT_FALSE(splitter.Command3.visible());
    start(splitter);
    ASSERT_TRUE(splitter.Command3.visible());

    splitter.Command3.click();
    const std::string joined = downloaded(kFileName + ".flv");
    EXPECT_NEAR(media_testing::duration(joined), 2.0, 0.3) << splitter.Label8.caption();
    EXPECT_NE(media_testing::probe(joined).find("width=160"), std::string::npos);
    EXPECT_TRUE(readBytes(segmentFile(0)) == readBytes(media.file("large.mp4")));

    testing_support::writeBytes(segmentFile(0), readBytes(media.file("other.mp4")));
    std::filesystem::remove(joined);
    splitter.Command3.click();
    EXPECT_EQ(splitter.Label8.caption(), "状态：各片段的编码不同，不能合并为一个视频");
    EXPECT_FALSE(std::filesystem::exists(joined));

    // A segment that is a playlist naming a local file: the join stops, nothing is copied.
    const std::string secret = media.file("private.ts");
    ASSERT_TRUE(media_testing::makeClip(secret, "160x120", 1, "libx264", "-f mpegts"));
    testing_support::writeBytes(segmentFile(0),
        "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nfile://" + secret + "\n#EXT-X-ENDLIST\n");
    splitter.Command3.click();
    EXPECT_EQ(splitter.Label8.caption(), "状态：合并失败：有分段不是视频文件，没有合并");
    EXPECT_FALSE(std::filesystem::exists(joined));
}
