// Fuzz target: yt-dlp's -J answer and an HLS playlist, read as the video window reads them.
// The same bytes go to both readers; a video that is read must give usable choices.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/hls_playlist.h"
#include "video/web_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto video = video::readWebVideo(text)) {
        for (const video::WebChoice choice : { video::normalChoice(*video), video::bestChoice(*video) }) {
            if (!choice.valid() || video::choiceText(*video, choice).empty())
                std::abort();
            (void)video::joinOf(*video, choice, "x");
        }
        for (const video::WebFormat& format : video->formats)
            (void)video::formatLabel(format);
    }
    const common::HlsPlaylist list = common::readHlsPlaylist(text, "http://h/a/b.m3u8");
    for (const std::string& piece : list.pieces) {
        if (!piece.starts_with("http"))
            std::abort();
    }
    if (list.pieces.size() > common::kMaxHlsPieces || (list.tooLong && !list.pieces.empty()))
        std::abort();
    return 0;
}
