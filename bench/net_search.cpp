// A whole video search, typed into the player and run through its eleven states, against
// result pages of 300 KiB on the loopback server; beside it the curl command line fetching
// the same nine pages in one run.
#include <cstdio>

#include "assembly/program.h"
#include "assembly/services.h"
#include "net_timing.h"
#include "platform/config.h"
#include "platform/headless_browser.h"
#include "platform/headless_html.h"
#include "platform/network.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "support/fixture_server.h"
#include "video/search_window.h"

namespace {

constexpr size_t kPageBytes = 300 * 1024;
constexpr int kRuns = 15;

const char* const kSites[] = { "tudou", "sohu", "pptv", "letv", "fengx", "xinlang", "youku", "bdhd", "qovd" };
// Where each site's result page is, below the site's search address.
const char* const kResultPaths[] = { "/t/nisearch/kw", "/mts", "/s_video/q_kw", "/s", "/search/media",
    "/search/index.php", "/search_video/q_kw", "/", "/index.asp" };
// The addresses each page offers the picking rules, among the other links.
const char* const kPicks[] = { "/albumplay/", "/to?id=", "/show/", "/ptv/vplay/", "/subject/", "/v/",
    "/v_show/", "bdhd://", "/detail.asp?ID=" };

// A result page as the sites write them: items with a picture, a title link and some text.
std::string resultPage(const std::string& host, const std::string& pick)
{
    std::string page
        = "<html><head><meta charset=utf-8><title>results</title></head><body><div class=list>\n";
    for (int i = 0; page.size() + 200 < kPageBytes; ++i) {
        const std::string target = i % 20 == 0 ? (pick == "bdhd://" ? pick : host + pick) + std::to_string(i)
                                               : host + "/item/" + std::to_string(i) + ".html";
        page += "<div class=item><a href=\"" + target + "\"><img src=\"/pic/" + std::to_string(i)
            + ".jpg\"></a><h3><a href=\"" + target + "\" title=\"video\">video " + std::to_string(i)
            + "</a></h3><p>a description of the video, its cast and its length</p></div>\n";
    }
    return page + "</div></body></html>";
}

} // namespace

int main()
{
    using namespace net_bench;
    testing_support::FixtureServer server;
    std::string curlCommand = "curl -s -f";
    std::string curlEach = "true";
    std::vector<std::string> pages;
    std::vector<std::string> addresses;
    for (size_t i = 0; i < std::size(kSites); ++i) {
        const std::string base = std::string("/") + kSites[i];
        pages.push_back(resultPage(server.url(base + "-site"), kPicks[i]));
        server.addPage(base + kResultPaths[i], pages.back(), "text/html; charset=utf-8");
        addresses.push_back(server.url(base + kResultPaths[i]));
        curlCommand += " -o /dev/null '" + addresses.back() + "'";
        curlEach += " && curl -s -f -o /dev/null '" + addresses.back() + "'";
    }

    Scratch scratch;
    runtime::App app;
    auto config = std::make_shared<platform::Config>();
    for (const char* site : kSites) {
        config->set(std::string("search.") + site, server.url(std::string("/") + site));
        config->set(std::string("pick.") + site, server.url(std::string("/") + site + "-site"));
    }
    config->set("probe", server.url("/probe"));
    assembly::installServices(app, config, { scratch.path().string(), true });
    assembly::registerWindows(app);
    player::Form5& player = app.get<player::Form5>();
    video::search& worker = app.get<video::search>();

    int rows = 0;
    const double search = bestSeconds(kRuns, [&] {
        player.Text4.setText("kw");
        player.Label14.click();
        while (worker.Timer1.enabled() || worker.Timer2.enabled() || worker.bdhd.enabled()) {
            platform::settleHeadlessBrowsers(app, 10000);
            app.advance(1);
        }
        rows = player.List6.listCount() + player.List7.listCount();
    });
    // Where the time goes: the fetches alone, and reading the pages alone.
    const double fetch = bestSeconds(kRuns, [&] {
        for (const std::string& a : addresses)
            app.service<platform::Network>().fetch(a, [] { return true; });
    });
    const double parse = bestSeconds(kRuns, [&] {
        for (const std::string& page : pages)
            platform::parsePage(page, "http://h.example/");
    });
    bool curlOk = true;
    const double curl = bestSeconds(kRuns, [&] { curlOk = run(curlCommand) && curlOk; });
    const double each = bestSeconds(kRuns, [&] { curlOk = run(curlEach) && curlOk; });

    std::printf(
        "video search over nine result pages of %zu KiB, best of %d runs\n", kPageBytes / 1024, kRuns);
    std::printf("  search, eleven states : %7.1f ms (%d result rows, %s)\n", search * 1000, rows,
        player.Label4.caption().c_str());
    std::printf("  of which fetching     : %7.1f ms\n", fetch * 1000);
    std::printf("  of which reading      : %7.1f ms\n", parse * 1000);
    std::printf("  curl, the nine pages  : %7.1f ms%s\n", curl * 1000, curlOk ? "" : "  FAILED");
    std::printf("  curl, one per page    : %7.1f ms\n", each * 1000);
    std::printf("  ratio                 : %7.2f (goal <= 1.50)\n", search / curl);
    return curlOk && player.Label4.caption() == video::kSearchFinished ? 0 : 1;
}
