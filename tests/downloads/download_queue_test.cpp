// The download list against the loopback server: pieces fetched side by side and joined in
// order, a throttling server waited out, the speed limit held, and the list carried across a
// restart.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "downloads/download_queue.h"
#include "support/network_fixture.h"

namespace {

using downloads::DownloadQueue;
using downloads::JobState;
using testing_support::FixtureServer;
using testing_support::readBytes;

class DownloadQueueTest : public network_testing::NetworkTest {
protected:
    std::string listFile() const { return dir.file("downloads.lst"); }
    // Moves the queue on (virtual time stepSeconds per round) until the job leaves the running
    // states or `until` says stop; the virtual time spent.
    int64_t run(DownloadQueue& queue, int id, const std::function<bool()>& until = {})
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        int64_t start = now;
        while (std::chrono::steady_clock::now() < deadline) {
            queue.tick(now);
            const JobState state = queue.job(id)->state;
            if ((until && until()) || (!until && state != JobState::Running && state != JobState::Waiting))
                break;
            now += 20;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return now - start;
    }
    int64_t now = 1000;
};

// Fragments of unequal sizes (the later ones smaller, so they end first) and a large page
// as ranges: the file is the pieces in order, byte for byte.
TEST_F(DownloadQueueTest, PiecesFetchedSideBySideLandInOrder)
{
    std::string whole;
    std::vector<std::string> fragments;
    for (int i = 0; i < 12; ++i) {
        const std::string bytes
            = FixtureServer::pattern(static_cast<size_t>(i) * 7, static_cast<size_t>(60000 - i * 4000 + i));
        server.addPage("/f" + std::to_string(i) + ".ts", bytes, "video/mp2t");
        fragments.push_back(server.url("/slowly/16384/5/f" + std::to_string(i) + ".ts"));
        whole += bytes;
    }
    const std::string big = FixtureServer::pattern(3, (5 << 20) + 123);
    server.addPage("/big.flv", big, "video/x-flv");

    DownloadQueue queue(net, listFile());
    const int split
        = queue.add({ .title = "分段", .url = "x", .pieces = fragments, .file = dir.file("分段.flv") });
    const int ranged
        = queue.add({ .title = "大文件", .url = server.url("/big.flv"), .file = dir.file("大.flv") });
    run(queue, split);
    run(queue, ranged);
    ASSERT_EQ(queue.job(split)->state, JobState::Done) << queue.job(split)->reason;
    ASSERT_EQ(queue.job(ranged)->state, JobState::Done) << queue.job(ranged)->reason;
    EXPECT_TRUE(readBytes(dir.file("分段.flv")) == whole);
    EXPECT_TRUE(readBytes(dir.file("大.flv")) == big);
    EXPECT_GE(server.hits("/big.flv"), 5) << "a large file comes as several ranges";
    EXPECT_FALSE(std::filesystem::exists(downloads::partialPath(dir.file("大.flv"))));
}

// 429 with Retry-After, then a connection broken off mid-body: the download waits as asked,
// goes on with fewer connections, and ends with the file whole.
TEST_F(DownloadQueueTest, ThrottlingServerIsWaitedOutNotFailed)
{
    const std::string big = FixtureServer::pattern(11, (3 << 20) + 5);
    server.addPage("/t.flv", big, "video/x-flv");
    DownloadQueue queue(net, listFile());
    const int id = queue.add({ .title = "限速", .url = server.url("/t.flv"), .file = dir.file("t.flv") });
    queue.tick(now); // the length is asked for, the pieces start
    server.refuseNext("/t.flv", 429, "2", 2);
    server.cutNext("/t.flv", 1000);
    const int64_t spent = run(queue, id);
    ASSERT_EQ(queue.job(id)->state, JobState::Done) << queue.job(id)->reason;
    EXPECT_TRUE(readBytes(dir.file("t.flv")) == big);
    EXPECT_GE(spent, 2000) << "Retry-After was not honoured";
}

// A download paused halfway and the program started again: the row is still there, and
// resuming asks only for the bytes that are missing.
TEST_F(DownloadQueueTest, ListResumesWhereItStoppedAfterARestart)
{
    const std::string big = FixtureServer::pattern(5, (4 << 20) + 77);
    server.addPage("/r.flv", big, "video/x-flv");
    const std::string path = "/slowly/65536/20/r.flv";
    int id = 0;
    {
        DownloadQueue queue(net, listFile());
        queue.setSettings({ .parallel = 2, .speedLimitKb = 0, .connections = 2 });
        id = queue.add({ .title = "续传", .url = server.url(path), .file = dir.file("r.flv") });
        queue.add({ .title = "second", .url = server.url("/r.flv"), .file = dir.file("r.flv") });
        queue.move(id, 1);
        run(queue, id, [&] { return queue.job(id)->received > (1 << 20); });
        queue.pause(id);
    }
    DownloadQueue again(net, listFile());
    ASSERT_EQ(again.jobs().size(), 2u);
    EXPECT_EQ(again.jobs()[1].id, id) << "the order of the rows is kept";
    EXPECT_EQ(again.jobs()[0].file, dir.file("r (2).flv")) << "a taken name gets a number";
    EXPECT_EQ(again.settings().connections, 2);
    const downloads::Job& row = *again.job(id);
    EXPECT_EQ(row.state, JobState::Paused);
    const long long kept = row.received;
    EXPECT_GT(kept, 1 << 20);
    const size_t before = server.ranges(path).size();
    again.resume(id);
    run(again, id);
    ASSERT_EQ(again.job(id)->state, JobState::Done) << again.job(id)->reason;
    EXPECT_TRUE(readBytes(dir.file("r.flv")) == big);
    long long asked = 0;
    const std::vector<std::string> ranges = server.ranges(path);
    for (size_t i = before; i < ranges.size(); ++i) {
        const std::string& r = ranges[i];
        const size_t dash = r.find('-');
        const size_t eq = r.find('=');
        ASSERT_NE(dash, std::string::npos) << r;
        asked += std::stoll(r.substr(dash + 1)) - std::stoll(r.substr(eq + 1, dash - eq - 1)) + 1;
    }
    // A piece paused halfway names no version yet: its last 64 KiB are asked again to compare.
    const auto overlaps = static_cast<long long>(ranges.size() - before) * 64 * 1024;
    EXPECT_LE(asked, static_cast<long long>(big.size()) - kept + overlaps)
        << "bytes already there were asked for again";
}

// The speed limit holds for all downloads together, from the first byte to the last: a small
// file the server sends at once, and a file in ranges beside another download, each take
// about their bytes over the limit (real time: the limit is on real bytes a second).
TEST_F(DownloadQueueTest, SpeedLimitHoldsForAllDownloadsTogether)
{
    struct Case {
        const char* name;
        std::vector<size_t> sizes;
        int limitKb;
    };
    const Case cases[] = {
        { "one small file", { 250 * 1024 }, 100 },
        { "ranges beside another download", { (5 << 19) + 9, 300 * 1024 }, 1200 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadQueue queue(net, dir.file(std::string(c.name) + ".lst"));
        queue.setSettings({ .parallel = 3, .speedLimitKb = c.limitKb, .connections = 4 });
        std::vector<int> ids;
        int last = 0;
        size_t total = 0;
        for (size_t i = 0; i < c.sizes.size(); ++i) {
            const std::string page = "/" + std::string(c.name) + std::to_string(i);
            server.addPage(page, FixtureServer::pattern(i, c.sizes[i]), "video/mp4");
            last = queue.add({ .title = "限速", .url = server.url(page), .file = dir.file(c.name) });
            ids.push_back(last);
            total += c.sizes[i];
        }
        const auto start = std::chrono::steady_clock::now();
        run(queue, last, [&] { return !queue.busy(); });
        const double seconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (const int id : ids)
            ASSERT_EQ(queue.job(id)->state, JobState::Done) << queue.job(id)->reason;
        const double expected = static_cast<double>(total) / (c.limitKb * 1024);
        EXPECT_GT(seconds, expected * 0.8) << "faster than the limit";
        EXPECT_LT(seconds, expected * 1.5 + 0.5) << "slower than the limit allows";
    }
}

// An HLS address: the master playlist's best stream is read, its pieces land in order in one
// file; a piece that is a local file is not fetched; pieces that cannot be joined are refused.
TEST_F(DownloadQueueTest, HlsPlaylistDownloadsItsBestStream)
{
    std::string whole;
    std::string media = "#EXTM3U\r\n#EXT-X-TARGETDURATION:2\r\n";
    for (int i = 0; i < 3; ++i) {
        const std::string bytes = FixtureServer::pattern(static_cast<size_t>(i), 30000);
        server.addPage("/hls/hi/p" + std::to_string(i) + ".ts", bytes, "video/mp2t");
        media += "#EXTINF:2,\r\nhi/p" + std::to_string(i) + ".ts\r\n";
        whole += bytes;
    }
    media += "#EXTINF:2,\r\nfile:///etc/passwd\r\n#EXT-X-ENDLIST\r\n";
    server.addPage("/hls/hi.m3u8", media, "application/vnd.apple.mpegurl");
    server.addPage("/hls/master.m3u8",
        "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=200000\nlo.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH=900000,"
        "RESOLUTION=1280x720\nhi.m3u8\n",
        "application/vnd.apple.mpegurl");
    const struct Case {
        const char* name;
        const char* playlist;
        const char* reason;
    } refused[] = {
        { "encrypted", "#EXT-X-KEY:METHOD=AES-128,URI=\"k\"\n#EXTINF:2,\na.ts\n", "加密的视频流，不能下载" },
        { "byte ranges", "#EXTINF:2,\n#EXT-X-BYTERANGE:1000@0\na.ts\n", "分段方式不支持" },
        { "no web pieces", "#EXTINF:2,\nfile:///etc/passwd\n", "找不到视频片段" },
    };

    DownloadQueue queue(net, listFile());
    const int id
        = queue.add({ .title = "直播", .url = server.url("/hls/master.m3u8"), .file = dir.file("直播.ts") });
    run(queue, id);
    ASSERT_EQ(queue.job(id)->state, JobState::Done) << queue.job(id)->reason;
    EXPECT_TRUE(readBytes(dir.file("直播.ts")) == whole);
    EXPECT_EQ(server.hits("/hls/lo.m3u8"), 0) << "the lower stream was read";
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        const std::string page = "/hls/" + std::string(c.name) + ".m3u8";
        server.addPage(page, std::string("#EXTM3U\n") + c.playlist, "application/vnd.apple.mpegurl");
        const int bad = queue.add({ .title = c.name, .url = server.url(page), .file = dir.file(c.name) });
        run(queue, bad);
        EXPECT_EQ(queue.job(bad)->state, JobState::Failed);
        EXPECT_EQ(queue.job(bad)->reason, c.reason);
    }
}

} // namespace
