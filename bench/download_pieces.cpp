// Pieces side by side against the command-line downloaders, from a loopback server that serves
// each connection at a capped rate: 100 HLS fragments against yt-dlp (one fragment at a time,
// and four), and a 256 MiB file against aria2c with four connections.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "downloads/download_queue.h"
#include "net_timing.h"
#include "platform/posix/curl_network.h"
#include "support/fixture_server.h"
#include "support/temp_dir.h"

namespace {

using namespace net_bench;

// Each connection gets kChunk bytes every kPauseMs milliseconds.
constexpr int kChunk = 16384;
constexpr int kPauseMs = 10;
constexpr int kFragments = 100;
constexpr size_t kFragmentBytes = 128 * 1024;
constexpr long long kBigBytes = 256LL << 20;
constexpr int kBigChunk = 256 * 1024;

int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Downloads url with the download list (four connections); true when the file is whole.
bool ours(platform::Network& network, const std::string& list, const std::string& url,
    const std::string& target, long long bytes)
{
    std::filesystem::remove(list);
    downloads::DownloadQueue queue(network, list);
    queue.setSettings({ .parallel = 3, .speedLimitKb = 0, .connections = 4 });
    const int id = queue.add({ .title = "bench", .url = url, .file = target });
    for (;;) {
        queue.tick(steadyMs(), 20);
        const downloads::JobState state = queue.job(id)->state;
        if (state == downloads::JobState::Done || state == downloads::JobState::Failed)
            break;
    }
    const bool ok = queue.job(id)->state == downloads::JobState::Done
        && std::filesystem::file_size(target) == static_cast<uintmax_t>(bytes);
    std::filesystem::remove(target);
    return ok;
}

bool tool(const std::string& command, const std::string& target, long long bytes)
{
    const bool ok = run(command) && std::filesystem::file_size(target) == static_cast<uintmax_t>(bytes);
    std::filesystem::remove(target);
    return ok;
}

} // namespace

int main()
{
    testing_support::FixtureServer server;
    Scratch scratch;
    platform::CurlNetwork network;
    const std::string list = scratch.file("downloads.lst");
    const std::string target = scratch.file("video.ts");

    std::string playlist = "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n";
    for (int i = 0; i < kFragments; ++i) {
        server.addPage("/hls/seg" + std::to_string(i) + ".ts",
            testing_support::FixtureServer::pattern(kFragmentBytes * static_cast<size_t>(i), kFragmentBytes),
            "video/mp2t");
        playlist += "#EXTINF:2.0,\nseg" + std::to_string(i) + ".ts\n";
    }
    playlist += "#EXT-X-ENDLIST\n";
    server.addPage("/hls/index.m3u8", playlist, "application/vnd.apple.mpegurl");
    const std::string capped = "/slowly/" + std::to_string(kChunk) + "/" + std::to_string(kPauseMs);
    const std::string hls = server.url(capped + "/hls/index.m3u8");
    const long long hlsBytes = static_cast<long long>(kFragmentBytes) * kFragments;
    const std::string ytdlp = "yt-dlp -q --no-warnings --ignore-config --no-part --fixup never "
                              "--downloader m3u8:native -o '"
        + target + "' ";

    bool ok = true;
    bool each = true;
    const double oursHls = bestSeconds(2, [&] { each = ours(network, list, hls, target, hlsBytes) && each; });
    ok = ok && each;
    const double ytOne = bestSeconds(1, [&] { ok = tool(ytdlp + "'" + hls + "'", target, hlsBytes) && ok; });
    const double ytFour
        = bestSeconds(2, [&] { ok = tool(ytdlp + "-N 4 '" + hls + "'", target, hlsBytes) && ok; });

    server.addPage(
        "/big.bin", testing_support::FixtureServer::pattern(0, kBigBytes), "application/octet-stream");
    const std::string big
        = server.url("/slowly/" + std::to_string(kBigChunk) + "/" + std::to_string(kPauseMs) + "/big.bin");
    const double oursBig = bestSeconds(1, [&] { ok = ours(network, list, big, target, kBigBytes) && ok; });
    const double aria = bestSeconds(1, [&] {
        ok = tool("aria2c -q -x 4 --allow-overwrite=true --file-allocation=none -d '" + scratch.file("")
                     + "' -o video.ts '" + big + "'",
                 target, kBigBytes)
            && ok;
    });

    std::printf("per-connection cap: %d KiB every %d ms (HLS), %d KiB every %d ms (file)\n", kChunk / 1024,
        kPauseMs, kBigChunk / 1024, kPauseMs);
    std::printf("%d HLS fragments of %zu KiB\n", kFragments, kFragmentBytes / 1024);
    std::printf("  download list, 4 connections : %7.2f s\n", oursHls);
    std::printf("  yt-dlp (one fragment at once) : %7.2f s   ratio %.2f x faster (goal >= 3)\n", ytOne,
        ytOne / oursHls);
    std::printf("  yt-dlp -N 4                   : %7.2f s   ratio %.2f of its time (goal <= 1.1)\n", ytFour,
        oursHls / ytFour);
    std::printf("%lld MiB file\n", kBigBytes >> 20);
    std::printf("  download list, 4 connections : %7.2f s\n", oursBig);
    std::printf("  aria2c -x 4                   : %7.2f s   ratio %.2f of its time (goal <= 1.1)\n", aria,
        oursBig / aria);
    std::printf("%s\n", ok ? "all files whole" : "A DOWNLOAD FAILED");
    return ok ? 0 : 1;
}
