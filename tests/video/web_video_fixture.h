#pragma once
// What the web video tests share: the whole program on the real network stack with the
// headless browser, every search site, picking host and channel on the loopback server, and
// the player shown from the hub.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless_browser.h"
#include "platform/posix/curl_network.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "shell/hub_window.h"
#include "support/fixture_server.h"
#include "support/network_fixture.h"
#include "support/test_program.h"
#include "video/search_window.h"
#include "video/web_play_window.h"

namespace web_video_testing {

inline const char* const kSearchSites[]
    = { "tudou", "sohu", "pptv", "letv", "fengx", "xinlang", "youku", "bdhd", "qovd" };
inline const char* const kPickSites[]
    = { "tudou", "soku", "sohu", "pptv", "youku", "letv", "fengx", "xinlang", "qovd" };

// A page with an anchor for every address, or an image for one written "img:ADDRESS".
inline std::string linkPage(const std::vector<std::string>& addresses)
{
    std::string page = "<html><body>";
    for (const std::string& a : addresses) {
        if (a.rfind("img:", 0) == 0)
            page += "<img src=\"" + a.substr(4) + "\">";
        else
            page += "<a href=\"" + a + "\">v</a>";
    }
    return page + "</body></html>";
}

class WebVideoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::CurlOptions quick = network_testing::quickOptions();
        quick.stallSeconds = 2;
        auto network = std::make_shared<platform::CurlNetwork>(quick);
        p.app.provide<platform::Network>(network);
        p.app.setBrowserFactory(platform::headlessBrowserFactory(p.app, network, "UTF-8"));
        p.config->set("probe", server.url("/probe"));
        p.config->set("maker_site", "http://maker.example");
        for (const char* site : kSearchSites)
            p.config->set(std::string("search.") + site, server.url(std::string("/") + site));
        for (const char* site : kPickSites)
            p.config->set(std::string("pick.") + site, host(site));
        p.start();
        p.app.get<shell::moban>().Label7.mouseDown({ runtime::LeftButton, 0, 0, 0 });
        p.app.advance(1);
    }

    player::Form5& player() { return p.app.get<player::Form5>(); }
    video::search& worker() { return p.app.get<video::search>(); }
    // The host a picking prefix names, on the loopback server.
    std::string host(const std::string& site) const { return server.url("/" + site + "-site"); }
    // The path of a site's result page for a keyword (the query's own keys are not part of it).
    static std::string resultPath(const std::string& site, const std::string& keyword)
    {
        const std::map<std::string, std::string> paths = { { "tudou", "/t/nisearch/" + keyword },
            { "pptv", "/s_video/q_" + keyword }, { "youku", "/search_video/q_" + keyword },
            { "sohu", "/mts" }, { "letv", "/s" }, { "fengx", "/search/media" },
            { "xinlang", "/search/index.php" }, { "bdhd", "/" }, { "qovd", "/index.asp" } };
        return "/" + site + paths.at(site);
    }
    void sitePage(
        const std::string& site, const std::string& keyword, const std::vector<std::string>& addresses)
    {
        server.addPage(resultPath(site, keyword), linkPage(addresses));
    }

    // Types words into the address box and presses its button, as a user does.
    void typeAndPress(const std::string& words)
    {
        player().Text4.click();
        player().Text4.setText(words);
        player().Label14.click();
    }
    // Lets timers run until the search has ended, each tick after the pages in flight have
    // arrived; while the worker loads the page at slowPage, the clock runs past the site's
    // time limit instead. Returns the status texts shown, in order.
    std::vector<std::string> runSearch(const std::string& slowPage = "")
    {
        std::vector<std::string> shown { player().Label4.caption() };
        video::search& w = worker();
        for (int i = 0; i < 500 && (w.Timer1.enabled() || w.Timer2.enabled() || w.bdhd.enabled()); ++i) {
            const bool slow
                = !slowPage.empty() && w.WebBrowser1.busy() && w.WebBrowser1.location() == slowPage;
            // Returns as soon as the pages are read; the limit only catches a hang. A page of a
            // hundred thousand links takes about ten seconds under the thread sanitizer when
            // the machine is busy.
            if (!slow) {
                EXPECT_TRUE(platform::settleHeadlessBrowsers(p.app, 30000));
            }
            p.app.advance(slow ? video::kSiteTimeLimitMs : 1);
            slowTicks += slow ? 1 : 0;
            if (player().Label4.caption() != shown.back())
                shown.push_back(player().Label4.caption());
        }
        return shown;
    }
    // Each row of a result list with the address its click puts into the address box.
    std::vector<std::pair<std::string, std::string>> rowsAndAddresses(runtime::ListBox& list)
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (int i = 0; i < list.listCount(); ++i) {
            list.setListIndex(i);
            out.emplace_back(list.list(i), player().Text4.text());
        }
        return out;
    }

    testing_support::FixtureServer server;
    testing_support::TestProgram p;
    // How often runSearch let the clock run past the time limit.
    int slowTicks = 0;
};

} // namespace web_video_testing
