#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/listing.h"
#include "support/network_fixture.h"

using namespace network_testing;
using platform::TransferProgress;
using platform_testing::namesIn;
using testing_support::FixtureServer;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(WebAddress, IsTrimmedEscapedAndLimitedToWebSchemes)
{
    // Each row: what is typed, the address used (empty: refused).
    for (const auto& row : testing_support::testRows("platform/web_addresses.tsv", true))
        EXPECT_EQ(platform::normalizeWebAddress(row[0]), row[1]) << row[0];
}

TEST_F(NetworkTest, ConnectionCheckAnswersQuicklyAndOnlyForAReachableServer)
{
    const struct {
        std::string address;
        bool up;
    } rows[] = {
        { server.url("/"), true },
        { FixtureServer::refusedUrl(), false },
        { "http://host.invalid/", false },
        { "", false },
        { "not an address", false },
        { "ftp://127.0.0.1/", false },
    };
    for (const auto& row : rows) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(net.checkConnection(row.address), row.up) << row.address;
        EXPECT_LT(secondsSince(start), 3.5) << row.address;
    }
}

TEST_F(NetworkTest, GetReturnsTheBodyOfAnyCompleteResponse)
{
    server.addPage("/page.html", "<html>hello</html>", "text/html; charset=utf-8");
    const struct {
        std::string path;
        int status;
        std::string body;
    } rows[] = {
        { "/page.html", 200, "<html>hello</html>" },
        { "/compressed/page.html", 200, "<html>hello</html>" },
        { "/status/404", 404, "<html><body>status 404 page</body></html>" },
        { "/status/500", 500, "<html><body>status 500 page</body></html>" },
        { "/redirect/3?to=/page.html", 200, "<html>hello</html>" },
        { "/nolength/100000", 200, FixtureServer::pattern(0, 100000) },
        { "/agent", 200, net.options().userAgent },
    };
    for (const auto& row : rows) {
        const platform::HttpResponse r = net.get(server.url(row.path));
        EXPECT_TRUE(r.completed) << row.path;
        EXPECT_EQ(r.status, row.status) << row.path;
        EXPECT_EQ(r.body, row.body) << row.path;
    }
    const platform::HttpResponse page = net.get(server.url("/redirect/2?to=/page.html"));
    EXPECT_EQ(page.url, server.url("/page.html"));
    EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
}

TEST_F(NetworkTest, FetchStopsSoonAfterItsCallerGivesUp)
{
    const auto start = std::chrono::steady_clock::now();
    const platform::HttpResponse r
        = net.fetch(server.url("/throttle/100000/1000/50"), [&] { return secondsSince(start) < 0.2; });
    EXPECT_FALSE(r.completed);
    EXPECT_LT(secondsSince(start), 1.0);
}

TEST_F(NetworkTest, DownloadsWriteTheWholeFileOrStopAtTheirLimits)
{
    // Each row of downloads.tsv: the path, the limits (seconds, bytes), the size written (-1:
    // the download fails and the old file stays), the total reported (0 when the server does
    // not announce it), whether it was redirected (1), and why.
    const std::string target = dir.file("video.flv");
    for (const auto& row : testing_support::testRows("platform/downloads.tsv")) {
        SCOPED_TRACE(row.at(6));
        const long long size = std::stoll(row[3]);
        writeBytes(target, "old");
        std::vector<TransferProgress> reports;
        const auto start = std::chrono::steady_clock::now();
        const platform::Status s = net.download(server.url(row[0]), target,
            [&](const TransferProgress& p) {
                reports.push_back(p);
                return true;
            },
            { std::stol(row[1]), std::stoll(row[2]) });
        EXPECT_LT(secondsSince(start), 5);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "video.flv" });
        if (size < 0) {
            EXPECT_FALSE(s.ok);
            EXPECT_EQ(readBytes(target), "old");
            continue;
        }
        ASSERT_TRUE(s.ok) << s.error;
        EXPECT_EQ(readBytes(target), FixtureServer::pattern(0, size));
        const TransferProgress& last = reports[reports.size() - 2];
        EXPECT_EQ(last.statusCode, TransferProgress::EndData);
        EXPECT_EQ(last.received, size);
        EXPECT_EQ(last.total, std::stoll(row[4]));
        EXPECT_EQ(reports.back().statusCode, 200);
        EXPECT_EQ(
            std::any_of(reports.begin(), reports.end(),
                [](const TransferProgress& p) { return p.statusCode == TransferProgress::Redirecting; }),
            row[5] == "1");
    }
}

// Without a whole response a page fetch gives nothing and a download leaves an existing
// target as it was.
TEST_F(NetworkTest, NoWholeResponseGivesNoPageAndLeavesTheTarget)
{
    platform::CurlOptions small = quickOptions();
    small.maxPageBytes = 1 << 20;
    platform::CurlNetwork limited(small);
    enum { Get = 1, Download = 2, Both = 3 };
    const struct {
        std::string address;
        const char* why;
        int paths;
    } rows[] = {
        { server.url("/cut/300000"), "connection closed mid-body", Both },
        { server.url("/slow/2500"), "first byte later than the stall time-out", Both },
        { server.garbageUrl(), "not HTTP", Both },
        { FixtureServer::refusedUrl(), "refused", Both },
        { "gopher://127.0.0.1/", "unknown scheme", Both },
        { server.url("/status/404"), "error status", Download },
        { server.url("/bytes/2000000"), "announced length over the page limit", Get },
        { server.url("/nolength/2000000"), "body over the page limit", Get },
    };
    const std::string target = dir.file("keep.flv");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.paths & Get) {
            const auto start = std::chrono::steady_clock::now();
            const platform::HttpResponse r = limited.get(row.address);
            EXPECT_FALSE(r.completed);
            EXPECT_TRUE(r.body.empty());
            EXPECT_LT(secondsSince(start), 3.0);
        }
        if (!(row.paths & Download))
            continue;
        writeBytes(target, "old");
        std::string order;
        const platform::Status s = net.download(row.address, target, [&](const TransferProgress& p) {
            order += phases({ p });
            return true;
        });
        EXPECT_FALSE(s.ok);
        EXPECT_FALSE(s.error.empty());
        EXPECT_EQ(readBytes(target), "old");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "keep.flv" });
        // A transfer that started also stops.
        EXPECT_TRUE(order.empty() || (order.front() == 'S' && order.back() == 'E')) << order;
    }
}

TEST_F(NetworkTest, DownloadIntoAPlaceThatCannotHoldTheFileFails)
{
    std::filesystem::create_directories(dir.path() / "sub");
    std::vector<std::string> targets
        = { dir.file("missing/folder/a.bin"), dir.file("sub"), "", dir.file("sub/") };
    if (::geteuid() != 0) {
        std::filesystem::create_directories(dir.path() / "locked");
        ::chmod((dir.path() / "locked").c_str(), 0500);
        targets.push_back(dir.file("locked/a.bin"));
    }
    for (const auto& target : targets) {
        int reports = 0;
        const platform::Status s
            = net.download(server.url("/bytes/1000"), target, [&](const TransferProgress&) {
                  ++reports;
                  return true;
              });
        EXPECT_FALSE(s.ok) << target;
        EXPECT_EQ(reports, 0) << target;
    }
    EXPECT_EQ(server.hits("/bytes/1000"), 0);
}

TEST_F(NetworkTest, DownloadStopsWhenTheCallbackSaysSoAndKeepsReportingWhileStalled)
{
    // Chunks 300 ms apart: the 20 ms heartbeat reports keep coming in between, marked as such.
    std::vector<TransferProgress> reports;
    const platform::Status s = net.download(
        server.url("/throttle/10000/1000/300"), dir.file("t.bin"), [&](const TransferProgress& p) {
            reports.push_back(p);
            return p.phase != TransferProgress::Progress || p.received < 2000;
        });
    EXPECT_FALSE(s.ok);
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.bin")));
    EXPECT_EQ(phases(reports).back(), 'E');
    EXPECT_GE(
        std::count_if(reports.begin(), reports.end(), [](const TransferProgress& r) { return r.heartbeat; }),
        3);
}
