// getHTTPPage on a 2 MiB GB2312 page from the loopback server (fetch and decoding), against
// iconv decoding the same bytes in the same run: the iconv command line and iconv(3).
#include <iconv.h>

#include <cstdio>
#include <fstream>

#include "common/page_helpers.h"
#include "net_timing.h"
#include "platform/codec.h"
#include "platform/posix/curl_network.h"
#include "support/fixture_server.h"

namespace {

// A page of Chinese text and markup, about `bytes` long once encoded.
std::string chinesePage(size_t bytes)
{
    // Common characters of the GB2312 set: U+4E00 upwards holds many of them.
    std::string utf8
        = "<html><head><meta charset=gb2312><title>\xE8\xA7\x86\xE9\xA2\x91</title></head><body>";
    char32_t c = 0x4E00;
    while (utf8.size() < bytes * 3 / 2) {
        for (int i = 0; i < 60; ++i, c = c >= 0x9F00 ? 0x4E00 : c + 7) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
        utf8 += "<a href=\"/video/12345.html\">video 12345</a><br>\r\n";
    }
    utf8 += "</body></html>";
    return platform::encode(utf8, "GB2312");
}

} // namespace

int main()
{
    using namespace net_bench;
    constexpr int kRuns = 15;
    const std::string page = chinesePage(2 * 1024 * 1024);
    testing_support::FixtureServer server;
    server.addPage("/result.html", page, "text/html");
    Scratch scratch;
    const std::string file = scratch.file("page.html");
    std::ofstream(file, std::ios::binary) << page;

    platform::CurlNetwork network;
    size_t textBytes = 0;
    const double ours = bestSeconds(kRuns,
        [&] { textBytes = common::getHTTPPage(network, server.url("/result.html"), "GB2312").size(); });
    size_t iconvBytes = 0;
    const double library = bestSeconds(kRuns, [&] { iconvBytes = bench::iconvDecode(page, "GBK").size(); });
    bool cliOk = true;
    const double cli = bestSeconds(
        kRuns, [&] { cliOk = cliOk && run("iconv -f GBK -t UTF-8 '" + file + "' > /dev/null"); });

    std::printf("GB2312 page of %.2f MiB (%.2f MiB as UTF-8), best of %d runs\n", mib(page.size()),
        mib(textBytes), kRuns);
    std::printf("  getHTTPPage (fetch + decode) : %7.2f ms\n", ours * 1000);
    std::printf("  iconv command line           : %7.2f ms%s\n", cli * 1000, cliOk ? "" : "  FAILED");
    std::printf("  iconv(3) in process          : %7.2f ms\n", library * 1000);
    std::printf("  ratio to the command line    : %7.2f (goal <= 1.5)\n", ours / cli);
    std::printf("  ratio to iconv(3)            : %7.2f\n", ours / library);
    return textBytes == iconvBytes && cliOk ? 0 : 1;
}
