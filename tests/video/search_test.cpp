#include <map>

#include "platform/config.h"
#include "support/temp_dir.h"
#include "video/web_video_fixture.h"

using web_video_testing::WebVideoTest;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> numberedAddresses(const std::string& prefix, int from, int to)
{
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i)
        out.push_back(prefix + std::to_string(i));
    return out;
}

} // namespace

class SearchTest : public WebVideoTest {
protected:
    // An address of a table under tests/data/video: a path on a site's host ("-": none).
    std::string address(const std::string& site, const std::string& path) const
    {
        return site == "-" ? path : host(site) + path;
    }
    // Result pages for every site, with the rules' edge cases: a second first-only match, a
    // PPTV page with two "/show/" links, twelve LeTV normal links, eleven "bdhd://" links.
    void fullPages(const std::string& kw)
    {
        std::map<std::string, std::vector<std::string>> pages;
        for (const auto& row : testing_support::testRows("video/search_pages.tsv"))
            pages[row[0]].push_back((row.size() > 3 ? "img:" : "") + address(row[1], row[2]));
        for (const auto& [site, links] : pages)
            sitePage(site, kw, links);
    }
    // The rows a result list shows, each with the address its click puts into the box.
    Rows expectedRows(const std::string& table) const
    {
        Rows rows;
        for (const auto& row : testing_support::testRows("video/" + table))
            rows.emplace_back(row[0], address(row[1], row[2]));
        return rows;
    }
};

TEST_F(SearchTest, ASiteThatDoesNotAnswerInTimeIsSkipped)
{
    fullPages("kw");
    // The Sohu page arrives only after seconds; the search's clock runs past its limit meanwhile.
    // (The query after the "#" never goes on the wire.)
    p.config->set("search.sohu", server.url("/slow/2500#"));
    typeAndPress("kw");
    std::vector<std::string> statuses;
    for (const auto& row : testing_support::testRows("video/search_statuses.txt"))
        statuses.push_back(row[0]);
    EXPECT_EQ(runSearch(worker().queryAddress("sohu", "kw")), statuses);
    EXPECT_EQ(slowTicks, 1);
    EXPECT_TRUE(player().List6.visible());
    EXPECT_TRUE(player().List7.visible());
    Rows rows = expectedRows("search_video_rows.tsv");
    rows.erase(rows.begin() + 3);
    EXPECT_EQ(rowsAndAddresses(player().List6), rows);
    // The QVOD resources' addresses are not shown.
    EXPECT_EQ(rowsAndAddresses(player().List7), expectedRows("search_resource_rows.tsv"));
}

TEST_F(SearchTest, BadInputEndsTheSearchAsUsual)
{
    const std::string kw = "kw";
    const std::string yk = host("youku");
    // A hundred thousand links, the match last; links in upper case; malformed addresses; no page.
    std::vector<std::string> many = numberedAddresses(server.url("/other/"), 1, 100000);
    many.push_back(host("tudou") + "/albumplay/last");
    sitePage("tudou", kw, many);
    sitePage("youku", kw,
        { yk + "/V_SHOW/upper", "HTTP://127.0.0.1:9/v_show/x", "http://[bad", "javascript:void(0)", "",
            "v_show/relative", "%zz", "img:" });
    typeAndPress(kw);
    EXPECT_EQ(runSearch().back(), "搜索完毕");
    EXPECT_EQ(
        rowsAndAddresses(player().List6), (Rows { { "高清视频：(1)", host("tudou") + "/albumplay/last" } }));
    EXPECT_EQ(player().List7.listCount(), 0);

    // Ten thousand characters with the characters that have a meaning in an address.
    std::string words;
    while (words.size() < 10000)
        words += "视频 & # % \" ' ";
    typeAndPress(words);
    EXPECT_EQ(runSearch().back(), video::kSearchNoSite);
}

TEST_F(SearchTest, TheKeywordGoesIntoEveryQueryAsOnePartOfTheAddress)
{
    for (const auto& row : testing_support::testRows("video/search_queries.tsv", true))
        EXPECT_EQ(worker().queryAddress(row[0], row[1]), row[2].empty() ? "" : server.url(row[2]))
            << row.name;
}

TEST_F(SearchTest, TheBuiltInHostsFindTheirSitesResultsOverEitherScheme)
{
    const platform::Config defaults;
    const auto hostOf = [&](const std::string& key) {
        const std::string address = defaults.get(key);
        return address.substr(address.find("://") + 3);
    };
    // A site's query goes to the site whose addresses its rules pick.
    for (const std::string site : { "sohu", "fengx", "qovd" })
        EXPECT_EQ(hostOf("search." + site), hostOf("pick." + site)) << site;
    for (const std::string site : web_video_testing::kPickSites)
        p.config->set("pick." + site, defaults.get("pick." + site));
    const auto on
        = [&](const std::string& scheme, const std::string& site) { return scheme + hostOf("pick." + site); };
    sitePage("fengx", "kw", numberedAddresses(on("https://", "fengx") + "/subject/", 1, 7));
    sitePage("youku", "kw", { on("ftp://", "youku") + "/v_show/f", on("http://", "youku") + "/v_show/y1" });
    sitePage("qovd", "kw", { on("https://", "qovd") + "/detail.asp?ID=1" });
    typeAndPress("kw");
    EXPECT_EQ(runSearch().back(), "搜索完毕");
    EXPECT_EQ(rowsAndAddresses(player().List6),
        (Rows { { "高清视频：(7)", on("https://", "fengx") + "/subject/7" },
            { "高清视频：(1)", on("http://", "youku") + "/v_show/y1" } }));
    EXPECT_EQ(player().List7.listCount(), 1);
}
