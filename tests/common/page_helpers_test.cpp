#include "common/page_helpers.h"
#include "platform/codec.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "support/network_fixture.h"

using namespace network_testing;
using testing_support::FixtureServer;

namespace {

// Chinese text with a character (U+9555) that GBK has and GB2312 lacks.
const std::string kChinese
    = "<html><body>\xE8\xA7\x86\xE9\xA2\x91\xE4\xB8\x8B\xE8\xBD\xBD \xE9\x95\x95</body></html>";

std::string gbk(const std::string& utf8)
{
    return platform::encode(utf8, "GBK");
}

} // namespace

// The network's own failures are tested with the network; here the decoding on top of it.
TEST_F(NetworkTest, GetHttpPageDecodesInTheNamedCharacterSetOrGivesNothing)
{
    server.addPage("/gb.html", gbk(kChinese), "text/html");
    server.addPage("/utf8.html", "\xEF\xBB\xBF" + kChinese, "text/html");
    const struct {
        std::string address;
        const char* charset;
        std::string text;
    } rows[] = {
        { server.url("/gb.html"), "GB2312", kChinese },
        { server.url("/utf8.html"), "utf-8", kChinese },
        { server.url("/status/404"), "GB2312", "<html><body>status 404 page</body></html>" },
        { FixtureServer::refusedUrl(), "GB2312", "" },
        { server.url("/gb.html"), "no-such-charset", "" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(common::getHTTPPage(net, row.address, row.charset), row.text)
            << row.address << " " << row.charset;

    runtime::App app;
    auto config = std::make_shared<platform::Config>();
    app.provide<platform::Network>(std::make_shared<platform::CurlNetwork>(quickOptions()));
    app.provide<platform::Config>(config);
    EXPECT_EQ(common::getHTTPPage(app, server.url("/gb.html"), "GB2312"), kChinese);
    config->set("probe", server.url("/"));
    EXPECT_TRUE(common::internetConnected(app));
    config->set("probe", FixtureServer::refusedUrl());
    EXPECT_FALSE(common::internetConnected(app));
}

TEST(BytesToBstr, DecodesByNameAndReplacesInvalidBytes)
{
    // Each row: the bytes, the character set named, the text, whether the set is known (1).
    for (const auto& row : testing_support::testRows("common/bytes_to_bstr.tsv", true)) {
        bool ok = row[3] != "1";
        EXPECT_EQ(common::BytesToBstr(row[0], row[1], &ok), row[2]) << row[1];
        EXPECT_EQ(ok, row[3] == "1") << row[1];
    }
}

TEST(UTF8EncodeURI, EscapesEachCodeUnitFromU0080UpInUpperCaseHex)
{
    for (const auto& row : testing_support::testRows("common/utf8_encode_uri.tsv", true))
        EXPECT_EQ(common::UTF8EncodeURI(row[0]), row[1]) << row[0];
}
