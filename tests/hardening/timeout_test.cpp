// Every network path against a server that never answers, one that trickles a byte a second
// and one whose body never ends: each path ends within its time-out (shortened here) and
// leaves no file behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/data_folders.h"
#include "common/file_download.h"
#include "common/page_helpers.h"
#include "platform/headless_browser.h"
#include "platform/network.h"
#include "platform/posix/curl_network.h"
#include "platform/textfile.h"
#include "shell/hub_window.h"
#include "shell/version_file.h"
#include "support/fixture_server.h"
#include "support/test_program.h"
#include "video/search_window.h"

namespace {

using testing_support::FixtureServer;
using testing_support::TestProgram;

platform::CurlOptions shortLimits()
{
    platform::CurlOptions o;
    o.connectTimeoutMs = 1000;
    o.probeTimeoutMs = 1000;
    // Longer than the page time-out, so the rows show which limit ends what.
    o.stallSeconds = 3;
    o.heartbeatMs = 20;
    o.pageTimeoutMs = 1500;
    o.maxPageBytes = 1 << 20;
    return o;
}

struct Rig {
    TestProgram p;
    std::shared_ptr<platform::CurlNetwork> net = std::make_shared<platform::CurlNetwork>(shortLimits());
    std::string folder;
    Rig()
    {
        p.app.provide<platform::Network>(net);
        p.app.setBrowserFactory(platform::headlessBrowserFactory(p.app, net, "UTF-8"));
        p.start();
        folder = p.profilePath("downloads");
        std::filesystem::create_directories(folder);
    }
    std::string target() const { return folder + "/file.bin"; }
};

// A download as a window makes it: the user closes the window (the transfer is aborted)
// once closeAfterMs has passed, when that is set.
bool download(
    Rig& s, const std::string& url, long maxSeconds, long long maxBytes, bool resumable, int closeAfterMs = 0)
{
    common::CFileDownload d(s.p.app, *s.net);
    d.setLimits(maxSeconds, maxBytes);
    d.setResumable(resumable);
    const auto start = std::chrono::steady_clock::now();
    d.OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) {
        if (closeAfterMs > 0
            && std::chrono::steady_clock::now() - start > std::chrono::milliseconds(closeAfterMs))
            d.AbortDownloading();
    };
    return d.StartDownloading(url, s.target()).ok();
}

// The hub's update check against a server at url; true when it ended on "failed" with the
// version file as it was and nothing beside it.
bool checkForUpdate(Rig& s, const std::string& url)
{
    s.p.config->set("probe", url);
    s.p.config->set("update_server", url);
    const std::string temp = common::dataPaths(s.p.app).temp;
    std::filesystem::create_directories(temp);
    const std::string file = temp + "update.ini";
    if (!platform::writeLines(file, { "100" }, "GBK"))
        return false;
    shell::moban& hub = s.p.app.get<shell::moban>();
    hub.xin_Timer();
    std::vector<std::string> lines;
    platform::readLinesChecked(file, "GBK", lines, 1024);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp))
        ++files;
    return hub.Label1.caption().ends_with(shell::kUpdateFailed) && lines == std::vector<std::string> { "100" }
    && files == 1;
}

// A network path and the routes it is tried against, each with the time-out the path should
// end within.
struct Path {
    const char* name;
    std::function<bool(Rig&, const std::string&)> run;
    std::vector<std::pair<const char*, int>> routes;
    // Whether the partial bytes may stay in a hidden file for the next start (resumable).
    bool keepsPartial = false;
};

const Path kPaths[] = {
    // The probe only connects: it ends once the connection stands, whatever follows.
    { "probe", [](Rig& s, const std::string& u) { return (s.net->checkConnection(u), true); },
        { { "/silent", 1000 }, { "/trickle", 1000 }, { "/endless", 1000 } } },
    { "page fetch",
        [](Rig& s, const std::string& u) { return common::getHTTPPage(*s.net, u, "GBK").empty(); },
        { { "/silent", 1500 }, { "/trickle", 1500 }, { "/endless", 1500 } } },
    { "browser navigation (search pages)",
        [](Rig& s, const std::string& u) {
            s.p.app.get<video::search>().WebBrowser1.navigate(u);
            return platform::settleHeadlessBrowsers(s.p.app, 10000);
        },
        { { "/silent", 1500 }, { "/trickle", 1500 }, { "/endless", 1500 } } },
    // The update check's limits with its minute shortened to a second.
    { "updater download",
        [](Rig& s, const std::string& u) { return !download(s, u, 1, shell::kVersionFileBytes, false); },
        { { "/silent", 1000 }, { "/trickle", 1000 }, { "/endless", 1000 } } },
    // The hub's update check itself, its minute left as it is: the stall limit ends a silent
    // server and the size limit an endless one; the version file keeps the build it had. (A
    // trickle is ended by the stall check within one to two stall periods, or by the minute.)
    { "update check (hub)", checkForUpdate, { { "/silent", 3000 }, { "/endless", 1000 } } },
    // A video may take hours: the stall limit ends a silent server, the user's close the rest.
    { "user download", [](Rig& s, const std::string& u) { return !download(s, u, 0, 0, true); },
        { { "/silent", 3000 } }, true },
    { "user download (closed)",
        [](Rig& s, const std::string& u) { return !download(s, u, 0, 0, true, 1000); },
        { { "/trickle", 1000 }, { "/endless", 1000 } }, true },
};

TEST(TimeOuts, EveryNetworkPathEndsInTime)
{
    // What a loaded machine may add to a time-out before the path counts as hanging.
    constexpr int kSlackMs = 2500;
    for (const Path& path : kPaths) {
        for (const auto& [route, limitMs] : path.routes) {
            FixtureServer server;
            Rig s;
            const auto start = std::chrono::steady_clock::now();
            const bool ended = path.run(s, server.url(route));
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start)
                                .count();
            std::printf("%-36s %-9s limit %5d ms  ended after %5lld ms\n", path.name, route, limitMs,
                static_cast<long long>(ms));
            SCOPED_TRACE(std::string(path.name) + " " + route);
            EXPECT_TRUE(ended);
            EXPECT_LE(ms, limitMs + kSlackMs);
            EXPECT_FALSE(std::filesystem::exists(s.target()));
            if (!path.keepsPartial) {
                EXPECT_TRUE(std::filesystem::is_empty(s.folder));
            }
        }
    }
}

} // namespace
