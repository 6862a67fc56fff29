#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/headless_charset.h"
#include "platform/headless_html.h"
#include "platform/headless_url.h"
#include "platform/listing.h"
#include "support/temp_dir.h"

using platform::pageCharset;
using platform::parsePage;
using platform::resolveAddress;
using platform_testing::hrefs;

TEST(ResolveAddress, FollowsTheBrowsersRules)
{
    for (const auto& row : testing_support::testRows("platform/resolved_addresses.tsv", true))
        EXPECT_EQ(resolveAddress("http://v.example.com/a/b/page.html?x=1#top", row[0]), row[1]) << row.name;
    EXPECT_EQ(resolveAddress("http://h.example", "x.html"), "http://h.example/x.html");
    EXPECT_EQ(resolveAddress("about:blank", "x.html"), "x.html");
    EXPECT_EQ(resolveAddress("file:///tmp/p/a.html", "../b.html"), "file:///tmp/b.html");
    EXPECT_EQ(platform::fileAddress("/tmp/a b#1.html"), "file:///tmp/a%20b%231.html");
}

TEST(PageCharset, ByteOrderMarkThenHeaderThenMetaThenFallback)
{
    // Each row: the page's bytes, its content type, the character set read (GBK: the fallback).
    for (const auto& row : testing_support::testRows("platform/page_charsets.tsv", true))
        EXPECT_EQ(pageCharset(row[0], row[1], "GBK"), row[2]) << row.name;
    EXPECT_EQ(pageCharset("x", "", "no-such-set"), "UTF-8");
}

TEST(DecodePage, ReadsGb2312DeclaredPagesAsGbk)
{
    const std::string text = "<meta charset=gb2312><p>\xE8\xA7\x86\xE9\xA2\x91 \xE9\x95\x95</p>";
    EXPECT_EQ(platform::decodePage(platform::encode(text, "GBK"), "", "UTF-8"), text);
    EXPECT_EQ(platform::decodePage("\xEF\xBB\xBF"
                                   "ab",
                  "", "GBK"),
        "ab");
}

// Both ways of reading a page, for cases where they must agree.
const platform::PageParser kParsers[] = { platform::PageParser::Tree, platform::PageParser::Scan };

const char* parserName(platform::PageParser p)
{
    return p == platform::PageParser::Tree ? "tree" : "scan";
}

TEST(ParsePage, CollectsReferencesInDocumentOrderWithAbsoluteAddresses)
{
    // Links in text, maps, comments, scripts and odd schemes, images with and without a source.
    const std::string html
        = testing_support::readBytes(testing_support::testData("platform/links_page.html"));
    for (const auto parser : kParsers) {
        const auto page = parsePage(html, "http://site.example/dir/index.html", parser);
        EXPECT_EQ(hrefs(page.links),
            (std::vector<std::string> { "http://site.example/dir/one.html?a=1&b=2",
                "http://site.example/dir/area.html", "http://other.example/two", "bdhd://abc|1" }))
            << parserName(parser);
        EXPECT_EQ(page.links[0].text, "First link &") << parserName(parser);
        EXPECT_EQ(page.linkTargets, (std::vector<std::string> { "", "", "_blank", "" }))
            << parserName(parser);
        EXPECT_EQ(hrefs(page.images), (std::vector<std::string> { "http://site.example/img/p.png", "" }))
            << parserName(parser);
        EXPECT_EQ(hrefs(page.linksAndImages),
            (std::vector<std::string> { "http://site.example/dir/one.html?a=1&b=2",
                "http://site.example/img/p.png", "", "http://other.example/two", "", "bdhd://abc|1" }))
            << parserName(parser);
        EXPECT_EQ(page.bodyScroll, "auto") << parserName(parser);
    }
}

TEST(ParsePage, TheBaseElementAppliesToTheWholeDocument)
{
    for (const auto parser : kParsers) {
        const auto page = parsePage(
            R"(<a href="early.html">e</a><base href="http://cdn.example/b/"><base href="/x/"><a href="late.html">l</a>)",
            "http://site.example/x/", parser);
        EXPECT_EQ(hrefs(page.links),
            (std::vector<std::string> {
                "http://cdn.example/b/early.html", "http://cdn.example/b/late.html" }))
            << parserName(parser);
    }
}

TEST(ParsePage, ScanParserMatchesTreeParserOnWellFormedPages)
{
    std::string results = "<html><body><ul>";
    for (int i = 0; i < 300; ++i) {
        results += "<li><a href='/v/" + std::to_string(i) + ".html' target=" + (i % 2 ? "_blank" : "_self")
            + ">\xE8\xA7\x86\xE9\xA2\x91 &#" + std::to_string(0x4E00 + i) + "; &lt;" + std::to_string(i)
            + "&gt;</a><img src='i" + std::to_string(i) + ".jpg'></li>\n";
    }
    results += "</ul></body></html>";
    const std::string pages[] = {
        results,
        "<body><p>No links at all</p></body>",
        "<a href=A.HTML TARGET=_TOP>upper</a><IMG SRC=x.gif><AREA HREF=y.html>",
        "<a href='q?x=1&y=2&amp;z=&quot;3&quot;&#x41;&#66;'>refs</a>",
    };
    for (const auto& html : pages) {
        const auto tree = parsePage(html, "http://h.example/d/", platform::PageParser::Tree);
        const auto scan = parsePage(html, "http://h.example/d/", platform::PageParser::Scan);
        EXPECT_EQ(hrefs(tree.links), hrefs(scan.links)) << html.substr(0, 80);
        EXPECT_EQ(hrefs(tree.linksAndImages), hrefs(scan.linksAndImages)) << html.substr(0, 80);
        EXPECT_EQ(tree.linkTargets, scan.linkTargets) << html.substr(0, 80);
        for (size_t i = 0; i < tree.links.size() && i < scan.links.size(); ++i)
            EXPECT_EQ(tree.links[i].text, scan.links[i].text) << html.substr(0, 80);
    }
}

TEST(ParsePage, SurvivesBrokenMarkup)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<div><span><a href=x>";
    const std::string rows[] = {
        "",
        "<a href=\"unclosed",
        "<a href=a.html><a href=b.html><table><a href=c.html><td>",
        "<html><body><a href='\xFF\xFE\x80.html'>\xC3</a>\x00<img src=\x01>",
        "</a></body></html><a href=after.html>",
        "<<<<>>>><!--<a href=hidden.html>",
        std::string(200000, '<'),
        deep,
    };
    for (const auto parser : kParsers) {
        for (const auto& html : rows) {
            const auto page = parsePage(html, "http://h.example/", parser);
            EXPECT_EQ(page.html, html);
            for (const auto& l : page.links)
                EXPECT_EQ(l.href.rfind("http://h.example/", 0), 0u) << l.href;
        }
    }
    EXPECT_EQ(
        hrefs(
            parsePage("<a href=a.html><a href=b.html><table><a href=c.html><td>", "http://h.example/").links),
        (std::vector<std::string> {
            "http://h.example/a.html", "http://h.example/b.html", "http://h.example/c.html" }));
}
