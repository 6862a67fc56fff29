#include <chrono>

#include "platform/listing.h"
#include "support/network_fixture.h"

using namespace network_testing;
using platform::DownloadOptions;
using platform::TransferProgress;
using testing_support::FixtureServer;
using testing_support::readBytes;

namespace {

// The reports of one resumable download, with its result.
struct Attempt {
    platform::Status status = platform::Status::success();
    std::vector<TransferProgress> reports;
};

class ResumeTest : public NetworkTest {
protected:
    Attempt download(const std::string& path)
    {
        Attempt run;
        DownloadOptions options;
        options.resumable = true;
        run.status = net.download(
            server.url(path), target,
            [&run](const TransferProgress& p) {
                run.reports.push_back(p);
                return true;
            },
            options);
        return run;
    }
    std::vector<std::string> files() const { return platform_testing::namesIn(dir.path()); }
    std::string target = dir.file("video.flv");
};

} // namespace

TEST_F(ResumeTest, APartialFileResumesOnlyFromItsOwnVersion)
{
    const std::string a = FixtureServer::pattern(0, 400000), b = FixtureServer::pattern(1000, 400000);
    // The first attempt of each row, to /a.flv, is cut at 200,000 bytes; the second goes to `next` after
    // `change`, and must ask with `range` and end with `expected`.
    enum Change { None, NewVersion, JunkRecord };
    struct Row {
        const char* name;
        const char* next;
        Change change;
        const char* range;
        std::string expected;
    };
    const Row rows[] = {
        { "resumed_where_cut", "/a.flv", None, "bytes=200000-", a },
        { "other_address_fetched_whole", "/b.flv", None, "", b },
        { "new_version_fetched_whole", "/a.flv", NewVersion, "bytes=200000-", b },
        { "junk_record_fetched_whole", "/a.flv", JunkRecord, "", a },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        server.addPage("/a.flv", a);
        server.addPage("/b.flv", b);
        server.cutNext("/a.flv", 200000);
        ASSERT_FALSE(download("/a.flv").status.ok);
        ASSERT_EQ(readBytes(dir.file(".video.flv.partial")).size(), 200000u);

        if (row.change == NewVersion)
            server.addPage(row.next, b);
        if (row.change == JunkRecord)
            testing_support::writeBytes(dir.file(".video.flv.resume"), "zelvora resume 1\nurl=\xff\x01\n");
        const Attempt next = download(row.next);
        ASSERT_TRUE(next.status.ok) << next.status.error;
        EXPECT_EQ(server.ranges(row.next).back(), row.range);
        EXPECT_TRUE(readBytes(target) == row.expected);
        // Progress counts the whole file, also when the transfer continues one.
        EXPECT_EQ(next.reports.back().received, 400000);
        EXPECT_EQ(files(), std::vector<std::string> { "video.flv" });
    }
    // A failure without a byte leaves no partial file (plain downloads leave nothing behind at
    // all: the network's failure table checks it).
    EXPECT_FALSE(download("/status/404").status.ok);
    EXPECT_EQ(files(), std::vector<std::string> { "video.flv" });
}

TEST_F(ResumeTest, WithoutAValidatorOnlyBytesThatRepeatTheEndOfThePartialFileContinueIt)
{
    const std::string a = FixtureServer::pattern(0, 400000), b = FixtureServer::pattern(1000, 400000);
    for (const bool changed : { false, true }) {
        SCOPED_TRACE(changed ? "changed" : "same");
        server.addPage("/a.flv", a);
        server.cutNext("/bare/a.flv", 200000);
        ASSERT_FALSE(download("/bare/a.flv").status.ok);
        if (changed)
            server.addPage("/a.flv", b);
        const Attempt next = download("/bare/a.flv");
        ASSERT_TRUE(next.status.ok) << next.status.error;
        // The last 64 KiB are asked again; a file that differs there is fetched whole.
        const std::vector<std::string> asked = server.ranges("/bare/a.flv");
        EXPECT_EQ(asked[asked.size() - (changed ? 2 : 1)], "bytes=134464-");
        EXPECT_EQ(asked.back(), changed ? "" : "bytes=134464-");
        EXPECT_TRUE(readBytes(target) == (changed ? b : a));
        EXPECT_EQ(next.reports.back().received, 400000);
    }
}

TEST_F(ResumeTest, LengthsAreAskedWithHeadRequestsAtOnceEachWithinItsTime)
{
    platform::CurlOptions o = quickOptions();
    o.lengthTimeoutMs = 1000;
    platform::CurlNetwork quick(o);
    int polls = 0;
    const auto begin = std::chrono::steady_clock::now();
    const std::vector<long long> lengths = quick.contentLengths(
        { server.url("/bytes/12345"), server.url("/nolength/100"), server.url("/status/404"),
            FixtureServer::refusedUrl(), server.url("/silent/1"), server.url("/silent/2"), "no address" },
        [&] { return ++polls > 0; });
    EXPECT_EQ(lengths, (std::vector<long long> { 12345, -1, -1, -1, -1, -1, -1 }));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(1800));
    EXPECT_GT(polls, 5);
    EXPECT_EQ(server.hits("/bytes/12345"), 1);
}
