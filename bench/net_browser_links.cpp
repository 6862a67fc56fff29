// The headless browser on a 5 MiB page with 50,000 anchors: from navigate to the links in
// hand, against parsing the same text with gumbo alone in the same run.
#include <gumbo.h>

#include <cstdio>

#include "net_timing.h"
#include "platform/headless_browser.h"
#include "platform/headless_html.h"
#include "platform/posix/curl_network.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"
#include "support/fixture_server.h"

namespace {

class Worker : public runtime::Form {
public:
    explicit Worker(runtime::App& app)
        : runtime::Form(app, "Worker")
    {
    }
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
};

std::string linkPage(int anchors, size_t bytes)
{
    std::string page = "<html><head><title>results</title></head><body><div class=list>\n";
    const size_t perItem = bytes / static_cast<size_t>(anchors);
    for (int i = 0; i < anchors; ++i) {
        std::string item = "<div class=item><a href=\"/v/" + std::to_string(i)
            + ".html\" title=\"video\">video " + std::to_string(i) + "</a><img src=\"/i/" + std::to_string(i)
            + ".jpg\"><p>";
        const size_t tail = std::string("</p></div>\n").size();
        if (item.size() + tail < perItem)
            item.append(perItem - item.size() - tail, 'x');
        page += item + "</p></div>\n";
    }
    return page + "</div></body></html>";
}

} // namespace

int main()
{
    using namespace net_bench;
    constexpr int kAnchors = 50000;
    const std::string page = linkPage(kAnchors, 5 * 1024 * 1024);
    testing_support::FixtureServer server;
    server.addPage("/search.html", page, "text/html; charset=utf-8");

    runtime::App app;
    app.setBrowserFactory(
        platform::headlessBrowserFactory(app, std::make_shared<platform::CurlNetwork>(), "UTF-8"));
    runtime::WebBrowser& browser = app.get<Worker>().WebBrowser1;
    size_t links = 0;
    const double load = bestSeconds(5, [&] {
        browser.navigate(server.url("/search.html"));
        platform::settleHeadlessBrowsers(app, 10000);
        links = browser.links().size();
    });
    const double read = bestSeconds(5, [&] { links = browser.links().size(); });
    size_t parsed = 0;
    const double parse
        = bestSeconds(5, [&] { parsed = platform::parsePage(page, "http://h.example/").links.size(); });
    const double gumbo = bestSeconds(5, [&] {
        GumboOutput* out = gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
        gumbo_destroy_output(&kGumboDefaultOptions, out);
    });

    std::printf("page of %.2f MiB with %d anchors, best of 5 runs\n", mib(page.size()), kAnchors);
    std::printf("  navigate until links in hand : %7.1f ms (%zu links; goal < 250 ms)\n", load * 1000, links);
    std::printf("  links() on the loaded page   : %7.1f ms\n", read * 1000);
    std::printf("  parse and collect (no fetch) : %7.1f ms (%zu links)\n", parse * 1000, parsed);
    std::printf("  gumbo parse alone            : %7.1f ms\n", gumbo * 1000);
    std::printf("  navigate / gumbo alone       : %7.2f\n", load / gumbo);
    return links == kAnchors && parsed == kAnchors ? 0 : 1;
}
