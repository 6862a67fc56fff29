// The video window on today's sites, with the real yt-dlp and ffmpeg on the loopback server:
// a 64 MiB MP4 resolved and downloaded, and an HLS stream of 100 pieces fetched and joined,
// each beside yt-dlp's own download of the same page in the same run.
#include <cstdio>
#include <filesystem>

#include "support/fixture_server.h"
#include "video/split_window.h"
#include "video/video_window.h"
#include "video_bench.h"

namespace {

std::string readAll(const std::filesystem::path& file)
{
    std::string bytes(std::filesystem::file_size(file), '\0');
    FILE* f = std::fopen(file.c_str(), "rb");
    const bool ok = f && std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f)
        std::fclose(f);
    return ok ? bytes : std::string();
}

std::string videoPage(const std::string& media)
{
    return "<html><head><title>bench</title></head><body><video src=\"" + media + "\"></video></body></html>";
}

// yt-dlp's own download of a page into file; its seconds.
double ytdlpSeconds(const std::string& page, const std::string& file, bool& ok)
{
    return net_bench::bestSeconds(1, [&] {
        ok = net_bench::run("yt-dlp -q --no-warnings -o '" + file + "' '" + page + "' >/dev/null 2>&1")
            && std::filesystem::exists(file);
    });
}

// Resolves page in the video window and downloads its normal choice; its seconds.
double windowSeconds(video_bench::Program& program, const std::string& page)
{
    runtime::App& app = program.app;
    video::Form2& w = app.get<video::Form2>();
    return net_bench::bestSeconds(1, [&] {
        w.Text3.click();
        w.Text3.setText(page);
        w.Command9.click();
        w.Command10.click();
        app.runUntilIdle(600000);
    });
}

} // namespace

int main()
{
    using namespace net_bench;
    testing_support::FixtureServer server;
    video_bench::Program program(server);
    const std::string folder = program.scratch.file("profile/Desktop/Zelvora下载区");

    // 64 MiB behind a <video> element.
    constexpr size_t kBytes = 64u << 20;
    server.addPage("/big.mp4", testing_support::FixtureServer::pattern(0, kBytes), "video/mp4");
    server.addPage("/big.html", videoPage("/big.mp4"));
    bool theirsOk = false;
    const double theirs = ytdlpSeconds(server.url("/big.html"), program.scratch.file("ytdlp.mp4"), theirsOk);
    const double ours = windowSeconds(program, server.url("/big.html"));
    const bool oursOk = std::filesystem::exists(folder + "/bench (1).mp4")
        && std::filesystem::file_size(folder + "/bench (1).mp4") == kBytes;

    // 100 pieces of one second each.
    const std::string hls = program.scratch.file("hls");
    std::filesystem::create_directory(hls);
    const bool made
        = run("ffmpeg -v error -y -f lavfi -i testsrc=size=640x360:rate=25:duration=100 -f lavfi -i "
              "sine=duration=100 -c:v libx264 -preset ultrafast -g 25 -c:a aac -f hls -hls_time 1 "
              "-hls_list_size 0 -hls_segment_filename '"
            + hls + "/s%d.ts' '" + hls + "/index.m3u8'");
    int pieces = 0;
    for (const auto& entry : std::filesystem::directory_iterator(hls)) {
        server.addPage("/hls/" + entry.path().filename().string(), readAll(entry.path()));
        pieces += entry.path().extension() == ".ts" ? 1 : 0;
    }
    server.addPage("/live.html", videoPage("/hls/index.m3u8"));
    bool hlsTheirsOk = false;
    const double hlsTheirs
        = ytdlpSeconds(server.url("/live.html"), program.scratch.file("ytdlp-hls.mp4"), hlsTheirsOk);
    const double hlsOurs = windowSeconds(program, server.url("/live.html"));
    const std::string joined = folder + "/bench (1).mp4";
    const bool hlsOk = made && program.app.get<video::fenge>().List1.listCount() == pieces
        && std::filesystem::exists(joined) && std::filesystem::file_size(joined) > kBytes / 1024;

    std::printf("video window through yt-dlp on the loopback server\n");
    std::printf(
        "  64 MiB MP4, yt-dlp -o FILE PAGE          : %7.3f s%s\n", theirs, theirsOk ? "" : "  FAILED");
    std::printf("  64 MiB MP4, resolve (yt-dlp -J) + download: %7.3f s%s\n", ours, oursOk ? "" : "  FAILED");
    std::printf("  ratio window / yt-dlp                     : %7.2f (goal <= 1.20)\n", ours / theirs);
    std::printf("  HLS of %d pieces, yt-dlp -o FILE PAGE    : %7.3f s%s\n", pieces, hlsTheirs,
        hlsTheirsOk ? "" : "  FAILED");
    std::printf(
        "  HLS, resolve + fetch + ffmpeg join        : %7.3f s%s\n", hlsOurs, hlsOk ? "" : "  FAILED");
    std::printf("  ratio window / yt-dlp                     : %7.2f (goal <= 1.20)\n", hlsOurs / hlsTheirs);
    return theirsOk && oursOk && hlsTheirsOk && hlsOk ? 0 : 1;
}
