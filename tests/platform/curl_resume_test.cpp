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
    platform::Status status;
    std::vector<TransferProgress> reports;
};

class ResumeTest : public NetworkTest {
protected:
    Attempt download(const std::string& path, bool resumable = true)
    {
        Attempt run;
        DownloadOptions options;
        options.resumable = resumable;
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

TEST_F(ResumeTest, ACutTransferKeepsItsBytesHiddenAndTheNextOneFetchesOnlyTheRest)
{
    const Attempt cut = download("/cut/400000");
    EXPECT_FALSE(cut.status.ok);
    EXPECT_EQ(files(), std::vector<std::string> { ".video.flv.partial" });
    EXPECT_EQ(readBytes(dir.file(".video.flv.partial")), FixtureServer::pattern(0, 200000));

    const Attempt rest = download("/bytes/400000");
    ASSERT_TRUE(rest.status.ok) << rest.status.error;
    EXPECT_EQ(readBytes(target) == FixtureServer::pattern(0, 400000), true);
    EXPECT_EQ(files(), std::vector<std::string> { "video.flv" });
    // Progress counts the whole file: it starts where the cut one ended.
    for (const auto& r : rest.reports) {
        if (r.phase == TransferProgress::Progress && r.received > 0) {
            EXPECT_GE(r.received, 200000);
            EXPECT_EQ(r.total, 400000);
        }
    }
    EXPECT_EQ(server.hits("/bytes/400000"), 1);
}

TEST_F(ResumeTest, AServerThatIgnoresTheRangeStartsTheFileCleanly)
{
    download("/cut/300000");
    const Attempt whole = download("/nolength/300000");
    ASSERT_TRUE(whole.status.ok) << whole.status.error;
    EXPECT_EQ(readBytes(target) == FixtureServer::pattern(0, 300000), true);
    EXPECT_EQ(files(), std::vector<std::string> { "video.flv" });
}

TEST_F(ResumeTest, PlainDownloadsLeaveNothingBehindAndFailuresWithoutBytesNoPartialFile)
{
    EXPECT_FALSE(download("/cut/100000", false).status.ok);
    EXPECT_TRUE(files().empty());
    EXPECT_FALSE(download("/status/404").status.ok);
    EXPECT_TRUE(files().empty());
}

TEST_F(ResumeTest, ContentLengthAsksTheServerWithAHeadRequest)
{
    EXPECT_EQ(net.contentLength(server.url("/bytes/12345")), 12345);
    EXPECT_EQ(net.contentLength(server.url("/nolength/100")), -1);
    EXPECT_EQ(net.contentLength(server.url("/status/404")), -1);
    EXPECT_EQ(net.contentLength(FixtureServer::refusedUrl()), -1);
    EXPECT_EQ(server.hits("/bytes/12345"), 1);
}
