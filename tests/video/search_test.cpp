#include "platform/config.h"
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

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kStatuses = { "正在搜索网络资源...", "正在搜索：土豆网", "正在搜索：搜狐网",
    "正在搜索：PPTV", "正在搜索：乐视网", "正在搜索：风行网", "正在搜索：新浪网", "正在搜索：优酷网",
    "正在启动百度搜索引擎", "正在搜索：百度影音", "正在搜索：快播资源", "搜索完毕" };

} // namespace

class SearchTest : public WebVideoTest {
protected:
    // Result pages for every site, with the rules' edge cases: a second first-only match, a
    // PPTV page with two "/show/" links, twelve LeTV normal links, eleven "bdhd://" links.
    void fullPages(const std::string& kw)
    {
        const std::string td = host("tudou"), sk = host("soku"), sh = host("sohu"), pp = host("pptv"),
                          yk = host("youku"), le = host("letv"), fx = host("fengx"), xl = host("xinlang"),
                          qv = host("qovd");
        sitePage("tudou", kw,
            { td + "/albumplay/a1", td + "/albumplay/a2", td + "/programs/p1", "img:" + sk + "/search/s1",
                sk + "/search/s2" });
        sitePage("sohu", kw, { sh + "/to?x=10", sh + "/to?x=1", sh + "/to?x=2" });
        sitePage("pptv", kw, { pp + "/show/1", pp + "/show/2", yk + "/v_show/n1" });
        sitePage("letv", kw, joined(numberedAddresses(le + "/ptv/vplay/", 1, 12), { le + "/ptv/pplay/h" }));
        sitePage("fengx", kw, numberedAddresses(fx + "/subject/", 1, 8));
        sitePage("xinlang", kw, { xl + "/x/0", xl + "/v/1", xl + "/m/2" });
        sitePage("youku", kw, { yk + "/v_show/y1", yk + "/v_show/y2" });
        sitePage("bdhd", kw, numberedAddresses("bdhd://b", 1, 11));
        sitePage("qovd", kw, { qv + "/detail.asp?ID=1", qv + "/list.asp", qv + "/detail.asp?ID=2" });
    }
    Rows expectedVideoRows() const
    {
        const std::string td = host("tudou"), sk = host("soku"), sh = host("sohu"), yk = host("youku"),
                          le = host("letv"), fx = host("fengx"), xl = host("xinlang");
        Rows rows = { { "高清视频：(1)", td + "/albumplay/a1" }, { "普清视频：(1)", td + "/programs/p1" },
            { "普清视频：(1)", sk + "/search/s1" }, { "高清视频：(1)", sh + "/to?x=1" },
            { "普清视频：(1)", yk + "/v_show/n1" } };
        for (int i = 1; i <= 5; ++i)
            rows.emplace_back(
                "普清视频：(" + std::to_string(i) + ")", le + "/ptv/vplay/" + std::to_string(i));
        const Rows rest = { { "高清视频：(1)", le + "/ptv/pplay/h" }, { "高清视频：(7)", fx + "/subject/7" },
            { "高清视频：(1)", xl + "/v/1" }, { "高清视频：(1)", yk + "/v_show/y1" } };
        rows.insert(rows.end(), rest.begin(), rest.end());
        return rows;
    }
};

TEST_F(SearchTest, ANewSearchStartsOverAndForgetsTheOldResults)
{
    fullPages("kw");
    typeAndPress("kw");
    runSearch();
    ASSERT_EQ(player().List7.listCount(), 11);

    // A second search, started again while it is under way (in the middle of the LeTV page).
    for (const char* site : web_video_testing::kSearchSites)
        sitePage(site, "two", {});
    sitePage("qovd", "two", { host("qovd") + "/detail.asp?ID=9" });
    typeAndPress("two");
    while (worker().Text1.text() != "fengx") {
        ASSERT_TRUE(platform::settleHeadlessBrowsers(p.app, 3000));
        p.app.advance(1);
    }
    typeAndPress("two");
    EXPECT_EQ(runSearch().back(), "搜索完毕");
    EXPECT_EQ(player().List6.listCount(), 0);
    EXPECT_EQ(rowsAndAddresses(player().List7), (Rows { { "快播视频：(1)", "网址已经加密..." } }));
}

TEST_F(SearchTest, TheSitesAreSearchedInOrderAndOneThatDoesNotAnswerInTimeIsSkipped)
{
    fullPages("kw");
    // The Sohu page arrives only after seconds; the search's clock runs past its limit meanwhile.
    // (The query after the "#" never goes on the wire.)
    p.config->set("search.sohu", server.url("/slow/2500#"));
    typeAndPress("kw");
    EXPECT_FALSE(player().List6.visible());
    EXPECT_EQ(runSearch(worker().queryAddress("sohu", "kw")), kStatuses);
    EXPECT_EQ(slowTicks, 1);
    EXPECT_TRUE(player().List6.visible());
    EXPECT_TRUE(player().List7.visible());
    Rows rows = expectedVideoRows();
    rows.erase(rows.begin() + 3);
    EXPECT_EQ(rowsAndAddresses(player().List6), rows);
    Rows resources;
    for (int i = 1; i <= 9; ++i)
        resources.emplace_back("百度影音：(" + std::to_string(i) + ")", "bdhd://b" + std::to_string(i));
    // The QVOD resources' addresses are not shown.
    resources.emplace_back("快播视频：(1)", "网址已经加密...");
    resources.emplace_back("快播视频：(2)", "网址已经加密...");
    EXPECT_EQ(rowsAndAddresses(player().List7), resources);
}

TEST_F(SearchTest, BadPagesAndKeywordsEndTheSearchAsUsual)
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
    EXPECT_EQ(runSearch().back(), "搜索完毕");
}

TEST_F(SearchTest, TheKeywordGoesIntoEveryQueryAsOnePartOfTheAddress)
{
    for (const auto& row : testing_support::testRows("video/search_queries.tsv", true))
        EXPECT_EQ(worker().queryAddress(row[0], row[1]), row[2].empty() ? "" : server.url(row[2])) << row[0];
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
