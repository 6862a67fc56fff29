#pragma once
// What the video benchmarks share: the real program, headless, with every outside address
// on the loopback server, and a result page of the parsing service.
#include <memory>
#include <string>

#include "assembly/program.h"
#include "assembly/services.h"
#include "net_timing.h"
#include "platform/config.h"
#include "platform/headless_browser.h"
#include "runtime/app.h"
#include "support/fixture_server.h"

namespace video_bench {

// The headless program in a scratch profile, its probe, parsing service and first supported
// site on the server.
class Program {
public:
    explicit Program(const testing_support::FixtureServer& server)
    {
        auto config = std::make_shared<platform::Config>();
        config->set("probe", server.url("/"));
        config->set("parse_service", server.url(""));
        config->set("site.1", "127.0.0.1:" + std::to_string(server.port()));
        assembly::ServiceOptions options;
        options.profile = scratch.file("profile");
        options.headless = true;
        assembly::installServices(app, config, options);
        assembly::registerWindows(app);
        assembly::startProgram(app);
        app.advance(1);
    }
    // Lets the headless browsers finish their loads.
    void settle() { platform::settleHeadlessBrowsers(app, 10000); }

    bench::Scratch scratch;
    runtime::App app;
};

// A result page laid out the way the video window reads it, with anchors after it.
inline std::string resultPage(const std::string& title, const std::string& address, const std::string& mark,
    const std::string& padding = {}, const std::string& anchors = {})
{
    return "<html><head><meta charset=\"gb2312\"></head><body>" + padding
        + "<strong>当前解析视频：</strong>&nbsp;" + title
        + "<strong>（请用右键“目标另存为”）</strong><br>下载地址：<b><a href=\"" + address
        + "\" target=_blank>下载</a></b><br><B>高清版本：" + mark + "</B>" + anchors + "</body></html>";
}

// The parsing service's query path for a page address.
inline std::string query(const std::string& address, bool highDefinition)
{
    return "/parse.php?format=&kw=" + address + (highDefinition ? "&flag=one&format=real" : "");
}

} // namespace video_bench
