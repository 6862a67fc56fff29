// Download throughput of the download service against the curl command line, both fetching
// the same 256 MiB file from the loopback server in the same run.
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
    constexpr int kRuns = 3;
    testing_support::FixtureServer server;
    Scratch scratch;
    const std::string url = server.url("/bytes/" + std::to_string(kBytes));
    const std::string target = scratch.file("video.flv");

    bool curlOk = true;
    const double curlSeconds = bestSeconds(kRuns, [&] {
        curlOk = curlOk && run("curl -s -f -o '" + target + "' '" + url + "'")
            && std::filesystem::file_size(target) == static_cast<uintmax_t>(kBytes);
        std::filesystem::remove(target);
    });

    runtime::App app;
    platform::CurlNetwork network;
    bool oursOk = true;
    long long reports = 0;
    const double ourSeconds = bestSeconds(kRuns, [&] {
        common::CFileDownload oDownload(app, network);
        reports = 0;
        oDownload.OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) { ++reports; };
        oursOk = oursOk && oDownload.StartDownloading(url, target)
            && std::filesystem::file_size(target) == static_cast<uintmax_t>(kBytes);
        std::filesystem::remove(target);
    });

    const double curlRate = mib(kBytes) / curlSeconds;
    const double ourRate = mib(kBytes) / ourSeconds;
    std::printf("download of %lld MiB from the loopback server, best of %d runs\n", kBytes >> 20, kRuns);
    std::printf(
        "  curl command line : %8.1f MiB/s (%.3f s)%s\n", curlRate, curlSeconds, curlOk ? "" : "  FAILED");
    std::printf("  CFileDownload     : %8.1f MiB/s (%.3f s), %lld progress events%s\n", ourRate, ourSeconds,
        reports, oursOk ? "" : "  FAILED");
    std::printf("  ratio             : %8.2f (goal >= 0.90)\n", ourRate / curlRate);
    return curlOk && oursOk ? 0 : 1;
}
