// Downloads a window waits for: rows of the list like any other, run side by side, kept
// paused in the list file while unfinished, and never kept from a name by a finished row.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/data_folders.h"
#include "downloads/awaited_download.h"
#include "downloads/list_window.h"
#include "platform/posix/curl_network.h"
#include "support/fixture_server.h"
#include "support/network_fixture.h"
#include "support/test_program.h"

namespace {

using downloads::JobState;
using testing_support::FixtureServer;

TEST(AwaitedDownloadTest, WindowsDownloadsShareTheList)
{
    FixtureServer server;
    testing_support::TestProgram p;
    p.app.provide<platform::Network>(
        std::make_shared<platform::CurlNetwork>(network_testing::quickOptions()));
    const std::string a = FixtureServer::pattern(1, 600000);
    const std::string b = FixtureServer::pattern(2, 200000);
    server.addPage("/a.flv", a, "video/x-flv");
    server.addPage("/b.flv", b, "video/x-flv");
    const std::string folder = p.profilePath("Desktop/");
    std::filesystem::create_directories(folder);
    downloads::DownloadQueue& queue = downloads::downloadQueue(p.app);
    const std::string listFile = common::dataPaths(p.app).root + "downloads.lst";

    // While the first runs, a second window starts its own: both are rows running at once,
    // and the list file keeps them paused (their windows start them again after a restart).
    downloads::AwaitedDownload second;
    bool bothRan = false;
    const auto first = downloads::downloadAndWait(p.app,
        { .title = "甲",
            .url = server.url("/slowly/16384/10/a.flv"),
            .file = folder + "a.flv",
            .oneTry = true },
        [&](long long received, long long, int64_t) {
            if (received > 0 && second.id == 0)
                second = downloads::downloadAndWait(p.app,
                    { .title = "乙", .url = server.url("/b.flv"), .file = folder + "b.flv", .oneTry = true },
                    [&](long long, long long, int64_t) {
                        bothRan = bothRan || queue.jobs().front().state == JobState::Running;
                        const downloads::ListContent kept = downloads::readList(listFile);
                        EXPECT_EQ(kept.jobs.size(), 2u);
                        EXPECT_EQ(kept.jobs.front().state, JobState::Paused);
                        return true;
                    });
            return true;
        });
    EXPECT_TRUE(bothRan);
    EXPECT_EQ(first.state, JobState::Done);
    EXPECT_EQ(second.state, JobState::Done);
    EXPECT_TRUE(testing_support::readBytes(folder + "a.flv") == a);
    EXPECT_TRUE(testing_support::readBytes(folder + "b.flv") == b);
    EXPECT_EQ(downloads::readList(listFile).jobs.back().state, JobState::Done);

    // The person deletes the finished file and downloads it again: the name is free.
    std::filesystem::remove(folder + "b.flv");
    const auto again = downloads::downloadAndWait(
        p.app, { .title = "乙", .url = server.url("/b.flv"), .file = folder + "b.flv", .oneTry = true }, {});
    EXPECT_EQ(again.file, folder + "b.flv");
    EXPECT_EQ(queue.jobs().size(), 3u);

    // A download cut short, then the file changes on the server: the rest of the old version
    // is not glued to the new one; the new file comes whole.
    server.addPage("/c.flv", FixtureServer::pattern(3, 400000), "video/x-flv");
    server.cutNext("/c.flv", 200000);
    const downloads::JobRequest c {
        .title = "丙", .url = server.url("/c.flv"), .file = folder + "c.flv", .oneTry = true
    };
    EXPECT_EQ(downloads::downloadAndWait(p.app, c, {}).state, JobState::Failed);
    server.addPage("/c.flv", FixtureServer::pattern(4, 400000), "video/x-flv");
    EXPECT_EQ(downloads::downloadAndWait(p.app, c, {}).state, JobState::Done);
    EXPECT_TRUE(testing_support::readBytes(folder + "c.flv") == FixtureServer::pattern(4, 400000));
}

} // namespace
