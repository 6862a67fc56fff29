#include <sys/stat.h>
#include <unistd.h>

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

// An address of a table: a path on the fixture server, "refused", "garbage" (a server that
// does not speak HTTP), or the address itself.
std::string tableAddress(FixtureServer& server, const std::string& cell)
{
    if (cell == "refused")
        return FixtureServer::refusedUrl();
    if (cell == "garbage")
        return server.garbageUrl();
    return cell.rfind('/', 0) == 0 ? server.url(cell) : cell;
}

} // namespace

TEST(WebAddress, TypedTextIsNormalisedToAWebAddress)
{
    // Each row: what is typed, the address used (empty: refused).
    for (const auto& row : testing_support::testRows("platform/web_addresses.tsv", true))
        EXPECT_EQ(platform::normalizeWebAddress(row[0]), row[1]) << row.name;
}

TEST_F(NetworkTest, ConnectionCheckSucceedsOnlyForAReachableServer)
{
    // Each row: the address, whether it is up (1).
    for (const auto& row : testing_support::testRows("platform/connection_checks.tsv")) {
        SCOPED_TRACE(row.name);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(net.checkConnection(tableAddress(server, row.at(0))), row.at(1) == "1") << row[0];
        EXPECT_LT(secondsSince(start), 3.5) << row[0];
    }
}

TEST_F(NetworkTest, GetReturnsTheBodyOfAnyCompleteResponse)
{
    server.addPage("/page.html", "<html>hello</html>", "text/html; charset=utf-8");
    const struct {
        const char* name;
        std::string path;
        int status;
        std::string body;
    } rows[] = {
        { "page", "/page.html", 200, "<html>hello</html>" },
        { "compressed", "/compressed/page.html", 200, "<html>hello</html>" },
        { "error_status", "/status/404", 404, "<html><body>status 404 page</body></html>" },
        { "redirects", "/redirect/3?to=/page.html", 200, "<html>hello</html>" },
        { "no_length", "/nolength/100000", 200, FixtureServer::pattern(0, 100000) },
        { "user_agent", "/agent", 200, net.options().userAgent },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const platform::HttpResponse r = net.get(server.url(row.path));
        EXPECT_TRUE(r.completed) << row.path;
        EXPECT_EQ(r.status, row.status) << row.path;
        EXPECT_EQ(r.body, row.body) << row.path;
    }
    const platform::HttpResponse page = net.get(server.url("/redirect/2?to=/page.html"));
    EXPECT_EQ(page.url, server.url("/page.html"));
    EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
}

// Without a whole response a page fetch gives nothing and a download leaves an existing
// target as it was.
TEST_F(NetworkTest, AnIncompleteResponseChangesNothing)
{
    platform::CurlOptions small = quickOptions();
    small.maxPageBytes = 1 << 20;
    platform::CurlNetwork limited(small);
    // Each row: the address, the ways it is fetched ("get", "download"), and why it fails.
    const std::string target = dir.file("keep.flv");
    for (const auto& row : testing_support::testRows("platform/no_whole_response.tsv")) {
        SCOPED_TRACE(row.name);
        const std::string address = tableAddress(server, row[0]);
        if (row[1].find("get") != std::string::npos) {
            const auto start = std::chrono::steady_clock::now();
            const platform::HttpResponse r = limited.get(address);
            EXPECT_FALSE(r.completed);
            EXPECT_TRUE(r.body.empty());
            EXPECT_LT(secondsSince(start), 3.0);
        }
        if (row[1].find("download") == std::string::npos)
            continue;
        writeBytes(target, "old");
        std::string order;
        const platform::Status s = net.download(address, target, [&](const TransferProgress& p) {
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
