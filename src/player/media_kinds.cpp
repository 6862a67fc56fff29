#include "player/media_kinds.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/textfile.h"
#include "runtime/vbtext.h"

namespace player::media {

namespace {
// The schemes the dispatcher gives the media player: the stream schemes and, as designed,
// the seed and stream links whose address ends like a medium.
constexpr std::array<std::string_view, 8> kEngineSchemes
    = { "HTTP", "HTTPS", "MMS", "RTSP", "RTMP", "FTP", "QVOD", "BDHD" };
} // namespace

std::string extensionOf(std::string_view path)
{
    const int dot = vb::InStrRev(path, ".");
    return vb::UCase(vb::Mid(path, dot + 1));
}

bool endsWithAny(std::string_view upper, std::initializer_list<std::string_view> endings)
{
    return std::any_of(endings.begin(), endings.end(), [&](std::string_view e) {
        return upper.size() >= e.size() && upper.substr(upper.size() - e.size()) == e;
    });
}

bool startsWithAny(std::string_view upper, std::initializer_list<std::string_view> prefixes)
{
    return std::any_of(
        prefixes.begin(), prefixes.end(), [&](std::string_view p) { return upper.substr(0, p.size()) == p; });
}

bool isStreamAddress(std::string_view address)
{
    return startsWithAny(vb::UCase(address.substr(0, 10)),
        { "HTTP://", "HTTPS://", "MMS://", "RTSP://", "RTMP://", "QVOD://", "BDHD://", "FTP://" });
}

bool isSeed(std::string_view path)
{
    return endsWithAny(vb::UCase(path), { ".QSED", ".BSED", ".TORRENT" });
}

bool isPictureOrText(std::string_view path)
{
    const std::string ext = extensionOf(path);
    for (std::string_view e : { "TXT", "INI", "IDX", "VBAK", "JPG", "JPEG", "JPE", "PNG", "GIF", "ICO", "BMP",
             "TIF", "PCX", "TGA" }) {
        if (ext == e)
            return true;
    }
    return false;
}

bool isMusic(std::string_view path)
{
    return endsWithAny(vb::UCase(path),
        { ".WAV", ".MP2", ".OGG", ".M4A", ".AMR", ".MMF", ".AAC", ".MP3", ".WMA", ".MID", ".FLAC" });
}

bool isVideo(std::string_view path)
{
    return endsWithAny(vb::UCase(path),
        { ".MOV", ".3GP", ".AVI", ".SWF", ".MP4", ".WMV", ".MPG", ".VOB", ".MKV", ".FLV", ".RMVB" });
}

Kind kindOf(std::string_view path)
{
    if (isSeed(path))
        return Kind::Seed;
    if (isPictureOrText(path))
        return Kind::PictureText;
    if (isMusic(path))
        return Kind::Music;
    if (isVideo(path))
        return Kind::Video;
    return Kind::None;
}

const char* patternOf(Kind kind)
{
    switch (kind) {
    case Kind::Seed:
        return kSeedPattern;
    case Kind::PictureText:
        return kPicturePattern;
    case Kind::Music:
        return kMusicPattern;
    case Kind::Video:
        return kVideoPattern;
    case Kind::None:
        break;
    }
    return "";
}

bool reachesEngine(const std::string& address)
{
    // A scheme has two characters or more: "C:" is a drive.
    size_t end = 0;
    while (end < address.size()
        && (std::isalpha(static_cast<unsigned char>(address[end]))
            || (end > 0
                && (std::isdigit(static_cast<unsigned char>(address[end])) || address[end] == '+'
                    || address[end] == '-' || address[end] == '.'))))
        ++end;
    if (end >= 2 && end < address.size() && address[end] == ':') {
        // Sound: only the network schemes and the designed stream links (which the engine
        // refuses at once) are handed over; "file:" and schemes of local devices or of the
        // engine's own inputs could open what the checks below keep out.
        const std::string scheme = vb::UCase(address.substr(0, end));
        return std::any_of(
            kEngineSchemes.begin(), kEngineSchemes.end(), [&](std::string_view s) { return scheme == s; });
    }
    // Sound: a FIFO named like a medium kept the engine's open, and with it the whole
    // program, waiting for a writer; only a regular file is opened.
    return !platform::notRegularFile(address);
}

} // namespace player::media
