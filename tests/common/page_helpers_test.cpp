#include "common/page_helpers.h"
#include "platform/codec.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "support/network_fixture.h"

using namespace network_testing;
using common::BytesToBstr;
using common::getHTTPPage;
using common::UTF8EncodeURI;
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

TEST_F(NetworkTest, GetHttpPageDecodesTheBodyInTheNamedCharacterSet)
{
    server.addPage("/gb.html", gbk(kChinese), "text/html");
    server.addPage("/utf8.html", "\xEF\xBB\xBF" + kChinese, "text/html");
    const struct {
        std::string path;
        const char* charset;
        std::string text;
    } rows[] = {
        { "/gb.html", "GB2312", kChinese },
        { "/gb.html", "gbk", kChinese },
        { "/compressed/gb.html", "GB2312", kChinese },
        { "/utf8.html", "utf-8", kChinese },
        { "/status/404", "GB2312", "<html><body>status 404 page</body></html>" },
        { "/slow/300", "GB2312", "<html><body>slow page</body></html>" },
        { "/redirect/1?to=/gb.html", "GB2312", kChinese },
    };
    for (const auto& row : rows)
        EXPECT_EQ(common::getHTTPPage(net, server.url(row.path), row.charset), row.text)
            << row.path << " " << row.charset;
}

TEST_F(NetworkTest, GetHttpPageIsEmptyWhenNoPageArrives)
{
    server.addPage("/gb.html", gbk(kChinese), "text/html");
    const struct {
        std::string address;
        const char* charset;
        const char* why;
    } rows[] = {
        { FixtureServer::refusedUrl(), "GB2312", "no connection" },
        { "http://host.invalid/", "GB2312", "host does not resolve" },
        { server.url("/cut/20000"), "GB2312", "connection closed mid-body" },
        { server.url("/slow/2500"), "GB2312", "time-out" },
        { server.garbageUrl(), "GB2312", "garbage" },
        { "", "GB2312", "empty address" },
        { "::not a url::", "GB2312", "malformed address" },
        { server.url("/gb.html"), "no-such-charset", "unknown character set" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(common::getHTTPPage(net, row.address, row.charset), "") << row.why;
}

TEST_F(NetworkTest, PageHelpersUseTheAppsServices)
{
    runtime::App app;
    auto config = std::make_shared<platform::Config>();
    app.provide<platform::Network>(std::make_shared<platform::CurlNetwork>(quickOptions()));
    app.provide<platform::Config>(config);
    server.addPage("/gb.html", gbk(kChinese), "text/html");
    EXPECT_EQ(common::getHTTPPage(app, server.url("/gb.html"), "GB2312"), kChinese);
    config->set("probe", server.url("/"));
    EXPECT_TRUE(common::internetConnected(app));
    config->set("probe", FixtureServer::refusedUrl());
    EXPECT_FALSE(common::internetConnected(app));
}

TEST(BytesToBstr, DecodesByNameAndReplacesInvalidBytes)
{
    const struct {
        std::string bytes;
        const char* charset;
        std::string text;
        bool known;
    } rows[] = {
        { gbk(kChinese), "GB2312", kChinese, true },
        { "abc\xFFxyz", "GB2312", "abc\xEF\xBF\xBDxyz", true },
        { "ab\x81", "GB2312", "ab\xEF\xBF\xBD", true }, // a lead byte cut off at the end
        { "\xEF\xBB\xBFok", "UTF-8", "ok", true },
        { "a\xC3(", "utf-8", "a\xEF\xBF\xBD(", true },
        { "plain ascii, \xE8\xA7\x86 and \xF0\x9F\x98\x80 stay as they are", "UTF-8",
            "plain ascii, \xE8\xA7\x86 and \xF0\x9F\x98\x80 stay as they are", true },
        { "pair \xED\xA0\x80\xED\xB0\x80 joined", "UTF-8", "pair \xF0\x90\x80\x80 joined", true },
        { "lone \xED\xA0\x80 kept", "UTF-8", "lone \xED\xA0\x80 kept", true },
        { "overlong \xC0\xAF", "UTF-8", "overlong \xEF\xBF\xBD\xEF\xBF\xBD", true },
        { "too high \xF4\x90\x80\x80", "UTF-8", "too high \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
            true },
        { "", "GB2312", "", true },
        { "abc", "no-such-charset", "", false },
        { "abc", "", "", false },
    };
    for (const auto& row : rows) {
        bool ok = !row.known;
        EXPECT_EQ(common::BytesToBstr(row.bytes, row.charset, &ok), row.text) << row.charset;
        EXPECT_EQ(ok, row.known) << row.charset;
    }
}

TEST(UTF8EncodeURI, EscapesEachCodeUnitFromU0080UpInUpperCaseHex)
{
    const struct {
        std::string in;
        std::string out;
    } rows[] = {
        { "", "" }, { "abc", "abc" }, { "a b", "a b" }, { "&=?%+#/\x7F", "&=?%+#/\x7F" },
        { "\xE8\xA7\x86\xE9\xA2\x91", "%E8%A7%86%E9%A2%91" }, // U+89C6 U+9891
        { "\xC2\x80", "%C2%80" }, // U+0080
        { "\xC3\xA9", "%C3%A9" }, // U+00E9
        { "\xDF\xBF", "%DF%BF" }, // U+07FF
        { "\xE0\xA0\x80", "%E0%A0%80" }, // U+0800
        { "\xE0\xB8\x81", "%E0%B8%81" }, // U+0E01, Thai
        { "\xEF\xBF\xBF", "%EF%BF%BF" }, // U+FFFF
        { "\xF0\x9F\x98\x80", "%F0%9F%98%80" }, // U+1F600, a surrogate pair
        { "\xED\xA0\x80", "%ED%A0%80" }, // a lone surrogate
        { "a\xFFz", "a%EF%BF%BDz" }, // an invalid byte
        { "\xE8\xA7", "%EF%BF%BD%EF%BF%BD" }, // a cut-off sequence
        { "\xC0\xAF", "%EF%BF%BD%EF%BF%BD" }, // an overlong '/'
    };
    for (const auto& row : rows)
        EXPECT_EQ(common::UTF8EncodeURI(row.in), row.out) << row.in;
}
