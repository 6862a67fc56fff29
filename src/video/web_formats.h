#pragma once
// What yt-dlp says about a video page (its -J answer): the title and every format, the
// choice of a normal and a high-definition format.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace video {

// One way to get the video, as yt-dlp lists it.
struct WebFormat {
    std::string id;
    std::string url;
    std::string protocol;
    std::string ext;
    std::string vcodec;
    std::string acodec;
    int width = 0;
    int height = 0;
    // Total bit rate in kbit/s (0 unknown), size in bytes (-1 unknown).
    double bitrate = 0;
    long long size = -1;
    // Whether it carries a picture and sound (unknown counts as carried).
    bool video = true;
    bool audio = true;
    // The request headers the site expects (User-Agent, Referer, Cookie...).
    std::vector<std::pair<std::string, std::string>> headers;
    // The pieces of a DASH format, as absolute addresses.
    std::vector<std::string> fragments;

    // Whether it comes as an HLS playlist of pieces.
    [[nodiscard]] bool hls() const { return protocol.starts_with("m3u8"); }
    // Whether it comes in pieces (HLS or DASH) rather than as one file.
    [[nodiscard]] bool fragmented() const { return hls() || !fragments.empty(); }
};

struct WebVideo {
    std::string title;
    std::vector<WebFormat> formats;
};

// A chosen format, with the separate sound format that goes with a picture-only one.
struct WebChoice {
    int format = -1;
    int audio = -1;
    [[nodiscard]] bool valid() const { return format >= 0; }
};

// A choice that comes in pieces or in two streams, handed to the split downloader: it
// fetches the pieces of every track and joins them into one file.
struct WebJoin {
    // The file name without its extension, and the extension of the joined file.
    std::string name;
    std::string ext;
    // The picture (with or without sound) first, then the separate sound, when there is one.
    std::vector<WebFormat> tracks;
};
// The join job of a choice.
WebJoin joinOf(const WebVideo& video, WebChoice choice, const std::string& name);

// The title and formats of a -J answer; nothing when it is not one or lists no usable format.
std::optional<WebVideo> readWebVideo(std::string_view json);
// The normal choice: the best with a height up to 480 that has picture and sound, else the
// smallest. The high-definition choice: the best overall.
WebChoice normalChoice(const WebVideo& video);
WebChoice bestChoice(const WebVideo& video);
// Format index as a choice: a picture-only format is paired with the best sound format; a
// sound-only format is a choice of its own.
WebChoice choiceOf(const WebVideo& video, int format);
// Whether the choice has to be fetched in pieces and joined (fragments, or picture and
// sound apart).
bool needsJoining(const WebVideo& video, WebChoice choice);
// A format: resolution, codecs, size when known, how it comes; a picture-only format names
// the sound that goes with it, or says it has none.
std::string formatLabel(const WebFormat& format, const WebFormat* sound = nullptr);
// Format index as the drop-down lists it: the format, with the sound added to a picture-only
// one, and the extension of the file its download saves.
std::string choiceLabel(const WebVideo& video, int format);
// The extension of the file a choice's download saves.
std::string savedExtension(const WebVideo& video, WebChoice choice);
// A choice as the address box shows it: the address, marked when it has to be joined.
std::string choiceText(const WebVideo& video, WebChoice choice);
// The extension of the joined file ("mp4" where the streams allow, else "mkv").
std::string joinedExtension(const WebVideo& video, WebChoice choice);

} // namespace video
