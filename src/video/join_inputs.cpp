#include "video/join_inputs.h"

#include <array>
#include <fstream>
#include <string_view>

namespace video {

namespace {

constexpr size_t kHeadBytes = 4096;
constexpr size_t kTsPacket = 188;

unsigned char at(std::string_view head, size_t i)
{
    return i < head.size() ? static_cast<unsigned char>(head[i]) : 0;
}

// Sound data after any ID3 tag: ADTS (AAC) or an MPEG audio frame (MP3).
std::string soundOf(std::string_view head)
{
    size_t start = 0;
    if (head.substr(0, 3) == "ID3" && head.size() >= 10)
        start = 10
            + static_cast<size_t>((at(head, 6) & 0x7F) << 21 | (at(head, 7) & 0x7F) << 14
                | (at(head, 8) & 0x7F) << 7 | (at(head, 9) & 0x7F));
    if (at(head, start) != 0xFF || start + 1 >= head.size())
        return {};
    if ((at(head, start + 1) & 0xF6) == 0xF0)
        return "aac";
    return (at(head, start + 1) & 0xE0) == 0xE0 ? "mp3" : "";
}

} // namespace

std::string containerOf(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string head(kHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    const std::string_view h(head);
    if (at(h, 0) == 0x47 && (h.size() <= kTsPacket || at(h, kTsPacket) == 0x47))
        return "mpegts";
    if (h.substr(0, 4) == "\x1A\x45\xDF\xA3")
        return "matroska";
    if (h.substr(0, 4) == "FLV\x01")
        return "flv";
    if (h.substr(0, 4) == "OggS")
        return "ogg";
    // An ISO media file (MP4, fragmented MP4, MOV) starts with one of its boxes.
    constexpr std::array<std::string_view, 8> boxes
        = { "ftyp", "styp", "moov", "moof", "sidx", "free", "skip", "mdat" };
    for (std::string_view box : boxes) {
        if (h.size() >= 8 && h.substr(4, 4) == box)
            return "mov";
    }
    return soundOf(h);
}

std::vector<std::string> lockedInput(const std::string& demuxer, const std::string& listDemuxer)
{
    const std::string& forced = listDemuxer.empty() ? demuxer : listDemuxer;
    const std::string allowed = listDemuxer.empty() ? demuxer : listDemuxer + "," + demuxer;
    return { "-f", forced, "-format_whitelist", allowed, "-protocol_whitelist", "file" };
}

} // namespace video
