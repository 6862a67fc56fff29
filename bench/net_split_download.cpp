// The split-video downloader fetching 20 segments of 16 MiB from the loopback server, beside
// 20 curl command-line transfers of the same files in the same run.
#include <cstdio>
#include <filesystem>

#include "platform/codec.h"
#include "runtime/vbtext.h"
#include "video/split_window.h"
#include "video/video_window.h"
#include "video_bench.h"

int main()
{
    using namespace net_bench;
    constexpr int kSegments = 20;
    constexpr long long kBytes = 16LL * 1024 * 1024;
    testing_support::FixtureServer server;
    video_bench::Program program(server);
    runtime::App& app = program.app;

    // Segment addresses are long: the downloader keeps only links over 120 characters.
    std::vector<std::string> segments(kSegments);
    std::string anchors;
    for (int i = kSegments - 1; i >= 0; --i) {
        std::string& segment = segments[static_cast<size_t>(i)];
        segment = server.url("/bytes/" + std::to_string(kBytes) + "?segment=" + std::to_string(i) + "&pad=")
            + std::string(120, 'p');
        anchors += "<a href=\"" + segment + "\">" + std::to_string(i) + "</a>";
    }
    const std::string page = server.url("/play/split.html");
    server.addPage(video_bench::query(page, false),
        platform::encode(video_bench::resultPage("分段", "分段视频 false;", "无", {}, anchors), "GBK"));

    bool curlOk = true;
    const std::string curlFile = program.scratch.file("curl.flv");
    const double curlSeconds = bestSeconds(1, [&] {
        for (const std::string& segment : segments) {
            curlOk = curlOk && run("curl -s -f -o '" + curlFile + "' '" + segment + "'")
                && std::filesystem::file_size(curlFile) == static_cast<uintmax_t>(kBytes);
            std::filesystem::remove(curlFile);
        }
    });

    video::Form2& resolver = app.get<video::Form2>();
    resolver.Text3.setText(page);
    resolver.Label7.setCaption("分段");
    video::fenge& splitter = app.get<video::fenge>();
    program.settle();
    app.advance(1000);
    const bool harvested = splitter.List1.listCount() == kSegments;
    const double ourSeconds = bestSeconds(1, [&] {
        splitter.Command2.click();
        app.advance(1000);
        app.runUntilIdle(600000);
    });
    bool oursOk = harvested && splitter.Text3.text() == std::to_string(kSegments);
    const std::string folder = program.scratch.file("profile/Desktop/Zelvora下载区");
    for (int i = 0; i < kSegments && oursOk; ++i)
        oursOk = std::filesystem::file_size(folder + "/分段(" + std::to_string(i) + ").flv")
            == static_cast<uintmax_t>(kBytes);

    std::printf("split video of %d segments of %lld MiB from the loopback server\n", kSegments, kBytes >> 20);
    std::printf("  curl command line, one per segment : %7.3f s%s\n", curlSeconds, curlOk ? "" : "  FAILED");
    std::printf("  split downloader (with HEADs)      : %7.3f s%s\n", ourSeconds, oursOk ? "" : "  FAILED");
    std::printf("  %s\n", splitter.Label10.caption().c_str());
    std::printf("  ratio downloader / curl            : %7.2f (goal <= 1.10)\n", ourSeconds / curlSeconds);
    return curlOk && oursOk ? 0 : 1;
}
