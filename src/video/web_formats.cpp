#include "video/web_formats.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

#include "common/json_reader.h"
#include "platform/headless_url.h"
#include "runtime/vbtext.h"

namespace video {

namespace {

using common::json::Value;

// Formats beyond this many are not read (a page lists a few dozen at most).
constexpr size_t kMaxFormats = 500;
constexpr int kNormalHeight = 480;

int whole(const Value& v)
{
    const double n = v.num();
    return n >= 1 && n < 100000 ? static_cast<int>(n) : 0;
}

std::optional<WebFormat> readFormat(const Value& f)
{
    WebFormat out;
    out.id = f["format_id"].str();
    out.url = f["url"].str();
    out.protocol = f["protocol"].str("https");
    out.ext = f["ext"].str("mp4");
    out.vcodec = f["vcodec"].str();
    out.acodec = f["acodec"].str();
    out.video = out.vcodec != "none";
    out.audio = out.acodec != "none";
    out.width = whole(f["width"]);
    out.height = whole(f["height"]);
    out.bitrate = std::max(0.0, f["tbr"].num());
    for (const char* key : { "filesize", "filesize_approx" }) {
        const double n = f[key].num(-1);
        if (out.size < 0 && n >= 0 && n < 1e15)
            out.size = static_cast<long long>(n);
    }
    for (const auto& [name, value] : f["http_headers"].members()) {
        // Sound: a header that would split the request is left out.
        const std::string text = value.str();
        if (text.find_first_of("\r\n") == std::string::npos
            && name.find_first_of(":\r\n") == std::string::npos)
            out.headers.emplace_back(name, text);
    }
    const std::string base = f["fragment_base_url"].str();
    for (const Value piece : f["fragments"].items()) {
        std::string address = piece["url"].str();
        if (address.empty() && !base.empty())
            address = platform::resolveAddress(base, piece["path"].str());
        if (!platform::isWebAddress(address))
            return std::nullopt;
        out.fragments.push_back(std::move(address));
    }
    // Only what the download service can fetch: one web address, HLS, or DASH pieces.
    const bool direct = out.protocol == "http" || out.protocol == "https";
    if (!platform::isWebAddress(out.url) && out.fragments.empty())
        return std::nullopt;
    if (!direct && !out.hls() && out.fragments.empty())
        return std::nullopt;
    if (!out.video && !out.audio)
        return std::nullopt;
    return out;
}

// How good a format's picture is: height, then bit rate, then yt-dlp's own order (worst first).
std::tuple<int, double, int> quality(const WebVideo& v, int i)
{
    return { v.formats[static_cast<size_t>(i)].height, v.formats[static_cast<size_t>(i)].bitrate, i };
}

std::string megabytes(long long bytes)
{
    return vb::Format00(static_cast<double>(bytes) / (1024.0 * 1024.0)) + "MB";
}

} // namespace

std::optional<WebVideo> readWebVideo(std::string_view json)
{
    const std::optional<common::json::Document> doc = common::json::parse(json);
    if (!doc || doc->root().kind() != Value::Object)
        return std::nullopt;
    const Value top = doc->root();
    WebVideo video;
    video.title = vb::Left(vb::Trim(top["title"].str()), 200);
    const Value formats = top["formats"];
    for (const Value f : formats.items()) {
        if (video.formats.size() >= kMaxFormats)
            break;
        if (std::optional<WebFormat> format = readFormat(f))
            video.formats.push_back(std::move(*format));
    }
    // A single-format answer carries the format's fields at the top.
    if (formats.items().empty()) {
        if (std::optional<WebFormat> format = readFormat(top))
            video.formats.push_back(std::move(*format));
    }
    if (video.formats.empty() || !bestChoice(video).valid())
        return std::nullopt;
    return video;
}

WebChoice choiceOf(const WebVideo& video, int format)
{
    WebChoice choice;
    if (format < 0 || static_cast<size_t>(format) >= video.formats.size())
        return choice;
    choice.format = format;
    // Sound: a sound-only format is downloaded as the sound it is.
    if (video.formats[static_cast<size_t>(format)].audio)
        return choice;
    // The sound with the highest bit rate, the later one on a tie.
    for (int i = 0; i < static_cast<int>(video.formats.size()); ++i) {
        const WebFormat& f = video.formats[static_cast<size_t>(i)];
        if (!f.video && f.audio
            && (choice.audio < 0 || f.bitrate >= video.formats[static_cast<size_t>(choice.audio)].bitrate))
            choice.audio = i;
    }
    return choice;
}

WebChoice bestChoice(const WebVideo& video)
{
    int best = -1;
    for (int i = 0; i < static_cast<int>(video.formats.size()); ++i) {
        if (video.formats[static_cast<size_t>(i)].video
            && (best < 0 || quality(video, i) > quality(video, best)))
            best = i;
    }
    return choiceOf(video, best);
}

WebChoice normalChoice(const WebVideo& video)
{
    int best = -1;
    int smallest = -1;
    for (int i = 0; i < static_cast<int>(video.formats.size()); ++i) {
        const WebFormat& f = video.formats[static_cast<size_t>(i)];
        if (!f.video)
            continue;
        if (f.audio && f.height <= kNormalHeight && (best < 0 || quality(video, i) > quality(video, best)))
            best = i;
        if (smallest < 0 || quality(video, i) < quality(video, smallest))
            smallest = i;
    }
    return choiceOf(video, best >= 0 ? best : smallest);
}

bool needsJoining(const WebVideo& video, WebChoice choice)
{
    if (!choice.valid())
        return false;
    return choice.audio >= 0 || video.formats[static_cast<size_t>(choice.format)].fragmented()
        || video.formats[static_cast<size_t>(choice.audio >= 0 ? choice.audio : choice.format)].fragmented();
}

std::string formatLabel(const WebFormat& f, const WebFormat* sound)
{
    std::string label = f.height > 0
        ? (f.width > 0 ? vb::Str(f.width) + "x" : std::string()) + vb::Str(f.height) + "p"
        : std::string("分辨率未知");
    const auto codec = [](const std::string& c) { return c.substr(0, c.find('.')); };
    if (!f.video)
        label = "仅声音";
    if (f.video && !f.vcodec.empty())
        label += " " + codec(f.vcodec);
    if (f.audio && !f.acodec.empty())
        label += " " + codec(f.acodec);
    if (!f.audio && sound)
        label += " + 声音" + (sound->acodec.empty() ? std::string() : " " + codec(sound->acodec));
    else if (!f.audio)
        label += " 无声";
    label += " " + f.ext;
    if (f.size >= 0)
        label += " " + megabytes(f.size);
    if (f.hls())
        label += " HLS分段";
    else if (!f.fragments.empty())
        label += " DASH分段";
    return label;
}

std::string choiceLabel(const WebVideo& video, int format)
{
    const WebChoice choice = choiceOf(video, format);
    if (!choice.valid())
        return {};
    const WebFormat* sound = choice.audio >= 0 ? &video.formats[static_cast<size_t>(choice.audio)] : nullptr;
    return formatLabel(video.formats[static_cast<size_t>(format)], sound) + "，存为"
        + savedExtension(video, choice);
}

std::string savedExtension(const WebVideo& video, WebChoice choice)
{
    return needsJoining(video, choice) ? joinedExtension(video, choice)
                                       : video.formats[static_cast<size_t>(choice.format)].ext;
}

std::string choiceText(const WebVideo& video, WebChoice choice)
{
    if (!choice.valid())
        return {};
    const WebFormat& f = video.formats[static_cast<size_t>(choice.format)];
    std::string address = f.url.empty() ? f.fragments.front() : f.url;
    if (choice.audio >= 0)
        return "【音视频分离，下载后合并】" + address;
    if (f.fragmented())
        return "【分段，下载后合并】" + address;
    return address;
}

std::string joinedExtension(const WebVideo& video, WebChoice choice)
{
    const auto mp4Family
        = [](const std::string& ext) { return ext == "mp4" || ext == "m4a" || ext == "m4v"; };
    const WebFormat& f = video.formats[static_cast<size_t>(choice.format)];
    // Sound in pieces stays sound: an HLS one holds AAC, others keep their own family.
    if (!f.video)
        return f.hls() ? "m4a" : mp4Family(f.ext) || f.ext == "webm" ? f.ext : "mka";
    if (f.hls())
        return "mp4";
    if (choice.audio < 0)
        return mp4Family(f.ext) || f.ext == "webm" ? f.ext : "mkv";
    const std::string& sound = video.formats[static_cast<size_t>(choice.audio)].ext;
    if (mp4Family(f.ext) && mp4Family(sound))
        return "mp4";
    return f.ext == "webm" && sound == "webm" ? "webm" : "mkv";
}

WebJoin joinOf(const WebVideo& video, WebChoice choice, const std::string& name)
{
    WebJoin job;
    job.name = name;
    job.ext = joinedExtension(video, choice);
    job.tracks.push_back(video.formats[static_cast<size_t>(choice.format)]);
    if (choice.audio >= 0)
        job.tracks.push_back(video.formats[static_cast<size_t>(choice.audio)]);
    return job;
}

} // namespace video
