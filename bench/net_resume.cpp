// Resuming a 256 MiB download cut at half: the bytes the second attempt fetches, beside a
// whole download of the same file in the same run.
#include <cstdio>
#include <filesystem>

#include "common/file_download.h"
#include "net_timing.h"
#include "platform/posix/curl_network.h"
#include "runtime/app.h"
#include "support/fixture_server.h"

int main()
{
    using namespace net_bench;
    constexpr long long kBytes = 256LL * 1024 * 1024;
    testing_support::FixtureServer server;
    Scratch scratch;
    runtime::App app;
    platform::CurlNetwork network;
    const std::string target = scratch.file("video.flv");

    // One attempt of a resumable download; the bytes it fetched itself.
    auto attempt = [&](const std::string& path, bool& ok) {
        common::CFileDownload oDownload(app, network);
        oDownload.setResumable(true);
        long long first = -1;
        long long last = 0;
        oDownload.OnProgress = [&](int64_t progress, int64_t, int32_t, int32_t, const std::string&) {
            if (first < 0)
                first = progress;
            last = progress;
        };
        ok = oDownload.StartDownloading(server.url(path), target).ok();
        return std::pair<long long, long long>(first, last);
    };

    bool wholeOk = false;
    const double wholeSeconds = bestSeconds(1, [&] { attempt("/bytes/" + std::to_string(kBytes), wholeOk); });
    std::filesystem::remove(target);

    // The same address is cut at half the first time and answers whole the next.
    const std::string path = "/bytes/" + std::to_string(kBytes);
    server.cutNext(path, kBytes / 2);
    bool cutOk = true;
    attempt(path, cutOk);
    const long long kept
        = static_cast<long long>(std::filesystem::file_size(scratch.file(".video.flv.partial")));
    bool resumeOk = false;
    std::pair<long long, long long> resumed;
    const double resumeSeconds = bestSeconds(1, [&] { resumed = attempt(path, resumeOk); });
    const bool whole = std::filesystem::file_size(target) == static_cast<uintmax_t>(kBytes)
        && !std::filesystem::exists(scratch.file(".video.flv.resume"));
    // A continued attempt's first report already counts the kept bytes; a restarted one's
    // does not, and then everything was fetched again.
    const long long fetched = resumed.first >= kept ? resumed.second - kept : resumed.second;

    std::printf("resume of a %lld MiB download cut at half\n", kBytes >> 20);
    std::printf(
        "  kept by the cut attempt : %8.1f MiB%s\n", mib(kept), cutOk ? "  (unexpected success)" : "");
    std::printf("  fetched on resume       : %8.1f MiB = %.1f %% of the file (goal <= 51 %%)%s\n",
        mib(fetched), 100.0 * static_cast<double>(fetched) / kBytes, resumeOk && whole ? "" : "  FAILED");
    std::printf("  resume time             : %8.3f s\n", resumeSeconds);
    std::printf("  whole download baseline : %8.3f s%s\n", wholeSeconds, wholeOk ? "" : "  FAILED");
    std::printf("  ratio resume / whole    : %8.2f\n", resumeSeconds / wholeSeconds);
    return resumeOk && whole && wholeOk && !cutOk ? 0 : 1;
}
