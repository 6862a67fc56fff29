// Resolving a page address whose result page is 500 KiB (normal and high definition, both
// from the loopback server), beside the two bare fetches of the same pages.
#include <cstdio>

#include "common/page_helpers.h"
#include "platform/codec.h"
#include "platform/network.h"
#include "video/resolve_page.h"
#include "video/video_window.h"
#include "video_bench.h"

int main()
{
    using namespace net_bench;
    constexpr int kRuns = 20;
    constexpr size_t kPageBytes = 500 * 1024;
    testing_support::FixtureServer server;
    video_bench::Program program(server);
    runtime::App& app = program.app;

    // Chinese text before the markers, so the whole page is searched.
    std::string padding;
    while (platform::encode(padding, "GBK").size() < kPageBytes)
        padding
            += std::string(1000, ' ') + "<p>这是一段很长的视频介绍文字，用来把结果页面填到五百千字节。</p>\n";
    const std::string page = server.url("/play/long.html");
    const std::string normal = platform::encode(
        video_bench::resultPage("长页面", server.url("/v/n.flv?k=false;"), "解析成功", padding), "GBK");
    const std::string high = platform::encode(
        video_bench::resultPage("长页面", server.url("/v/h.flv?k=false;"), "解析成功", padding), "GBK");
    server.addPage(video_bench::query(page, false), normal);
    server.addPage(video_bench::query(page, true), high);

    platform::Network& network = app.service<platform::Network>();
    bool bareOk = true;
    const double bareSeconds = bestSeconds(kRuns, [&] {
        bareOk = bareOk
            && network.get(server.url(video_bench::query(page, false))).body.size() == normal.size()
            && network.get(server.url(video_bench::query(page, true))).body.size() == high.size();
    });

    // Where the time goes: a page fetched and decoded from GB2312, and the scraping of it.
    std::string decoded;
    const double fetchDecode = bestSeconds(kRuns,
        [&] { decoded = common::getHTTPPage(app, server.url(video_bench::query(page, false)), "GB2312"); });
    const double scrape = bestSeconds(kRuns, [&] {
        bareOk = bareOk && video::scrapeTitle(decoded) && video::scrapeAddress(decoded)
            && video::offersHighDefinition(decoded);
    });
    video::Form2& resolver = app.get<video::Form2>();
    bool oursOk = true;
    const double ourSeconds = bestSeconds(kRuns, [&] {
        resolver.Text3.setText(page);
        resolver.Command9.click();
        oursOk = oursOk && resolver.Label4.caption().empty()
            && resolver.Text5.text() == server.url("/v/h.flv?k=false;");
    });

    std::printf(
        "resolve with a result page of %zu KiB (GB2312), best of %d runs\n", normal.size() / 1024, kRuns);
    std::printf(
        "  two bare fetches              : %7.2f ms%s\n", bareSeconds * 1000, bareOk ? "" : "  FAILED");
    std::printf("  resolve (probe, fetches, scraping, preview) : %7.2f ms%s\n", ourSeconds * 1000,
        oursOk ? "" : "  FAILED");
    std::printf("  ratio resolve / bare fetches  : %7.2f (goal <= 2.00)\n", ourSeconds / bareSeconds);
    std::printf("  parts: one page fetched and decoded %.2f ms, scraping one page %.3f ms\n",
        fetchDecode * 1000, scrape * 1000);
    return bareOk && oursOk ? 0 : 1;
}
