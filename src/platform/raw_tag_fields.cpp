#include "platform/raw_tag_fields.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <string_view>

namespace platform {

namespace {

// No tag or comment block read here is larger (cover pictures included).
constexpr uint64_t kMostTagBytes = 16u << 20;
constexpr uint32_t kMostFields = 4096;

uint32_t le32(std::string_view b, size_t at)
{
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(k)]);
    return v;
}

uint32_t be24(std::string_view b, size_t at)
{
    return (static_cast<uint32_t>(static_cast<unsigned char>(b[at])) << 16)
        | (static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8)
        | static_cast<unsigned char>(b[at + 2]);
}

std::string upper(std::string_view key)
{
    std::string out(key);
    for (char& c : out)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return out;
}

// A field's first value (values are separated by NUL in APE items).
std::string firstValue(std::string_view value)
{
    return std::string(value.substr(0, value.find('\0')));
}

// The fields of an APE item area holding count items.
RawFields apeItems(std::string_view area, uint32_t count)
{
    RawFields fields;
    size_t at = 0;
    for (uint32_t i = 0; i < std::min(count, kMostFields) && at + 8 <= area.size(); ++i) {
        const uint32_t length = le32(area, at);
        const uint32_t flags = le32(area, at + 4);
        const size_t keyEnd = area.find('\0', at + 8);
        if (keyEnd == std::string_view::npos || length > area.size() - keyEnd - 1)
            break;
        const std::string_view key = area.substr(at + 8, keyEnd - at - 8);
        // Bits 1-2 give the item's kind: 0 is text (binary and links are left out).
        if (((flags >> 1) & 3) == 0 && !key.empty())
            fields.emplace_back(upper(key), firstValue(area.substr(keyEnd + 1, length)));
        at = keyEnd + 1 + length;
    }
    return fields;
}

// The fields of a Vorbis comment block (vendor, count, then length-prefixed KEY=value).
RawFields commentBlock(std::string_view block)
{
    RawFields fields;
    if (block.size() < 8)
        return fields;
    size_t at = 4 + static_cast<size_t>(le32(block, 0));
    if (at + 4 > block.size() || at < 4)
        return fields;
    const uint32_t count = le32(block, at);
    at += 4;
    for (uint32_t i = 0; i < std::min(count, kMostFields) && at + 4 <= block.size(); ++i) {
        const uint32_t length = le32(block, at);
        at += 4;
        if (length > block.size() - at)
            break;
        const std::string_view entry = block.substr(at, length);
        at += length;
        const size_t equals = entry.find('=');
        if (equals != std::string_view::npos && equals > 0)
            fields.emplace_back(upper(entry.substr(0, equals)), std::string(entry.substr(equals + 1)));
    }
    return fields;
}

// Where the audio of a file starts after an ID3v2 tag (0 without one).
uint64_t afterId3v2(const ByteSource& file)
{
    const std::string head = file.read(0, 10);
    if (head.size() < 10 || head.compare(0, 3, "ID3") != 0)
        return 0;
    uint64_t size = 0;
    for (size_t k = 6; k < 10; ++k)
        size = (size << 7) | (static_cast<unsigned char>(head[k]) & 0x7F);
    const bool footer = (static_cast<unsigned char>(head[5]) & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

RawFields flacFields(const ByteSource& file, uint64_t at)
{
    at += 4;
    // Metadata blocks: a byte of last-flag and kind, a 24-bit length, the data.
    for (int blocks = 0; blocks < 1024 && at + 4 <= file.size; ++blocks) {
        const std::string header = file.read(at, 4);
        if (header.size() < 4)
            break;
        const auto kind = static_cast<unsigned char>(header[0]);
        const uint32_t length = be24(header, 1);
        if ((kind & 0x7F) == 4)
            return commentBlock(file.read(at + 4, length));
        if (kind & 0x80)
            break;
        at += 4 + length;
    }
    return {};
}

// The second packet of the first logical stream of an Ogg file (its comment header).
std::string oggSecondPacket(const ByteSource& file)
{
    std::string packet;
    int packets = 0;
    uint64_t at = 0;
    std::string serial;
    while (at + 27 <= file.size && packet.size() <= kMostTagBytes) {
        const std::string header = file.read(at, 27);
        if (header.size() < 27 || header.compare(0, 4, "OggS") != 0)
            break;
        const auto segments = static_cast<unsigned char>(header[26]);
        const std::string lacing = file.read(at + 27, segments);
        if (lacing.size() < segments)
            break;
        uint64_t body = at + 27 + segments;
        at = body;
        for (const char l : lacing)
            at += static_cast<unsigned char>(l);
        if (serial.empty())
            serial = header.substr(14, 4);
        if (header.compare(14, 4, serial) != 0)
            continue;
        for (const char c : lacing) {
            const auto l = static_cast<unsigned char>(c);
            if (packets == 1)
                packet += file.read(body, l);
            body += l;
            if (l < 255 && ++packets == 2)
                return packet;
        }
    }
    return {};
}

} // namespace

RawFields apeFields(const ByteSource& file)
{
    // The footer ends the file, or stands before a 128-byte ID3v1 tag.
    for (const uint64_t end : { file.size, file.size >= 128 ? file.size - 128 : 0 }) {
        if (end < 32)
            continue;
        const std::string footer = file.read(end - 32, 32);
        if (footer.size() < 32 || footer.compare(0, 8, "APETAGEX") != 0)
            continue;
        // The size counts the items and the footer, not a header.
        const uint32_t size = le32(footer, 12);
        if (size < 32 || size > end || size > kMostTagBytes)
            return {};
        return apeItems(file.read(end - size, size - 32), le32(footer, 16));
    }
    return {};
}

RawFields vorbisFields(const ByteSource& file)
{
    const uint64_t start = afterId3v2(file);
    const std::string magic = file.read(start, 4);
    if (magic == "fLaC")
        return flacFields(file, start);
    if (magic != "OggS")
        return {};
    const std::string packet = oggSecondPacket(file);
    const std::string_view view(packet);
    for (const std::string_view prefix : { std::string_view("\x03vorbis"), std::string_view("OpusTags") }) {
        if (view.substr(0, prefix.size()) == prefix)
            return commentBlock(view.substr(prefix.size()));
    }
    // FLAC in Ogg: the packet is a metadata block with its 4-byte header.
    if (view.size() >= 4 && (static_cast<unsigned char>(view[0]) & 0x7F) == 4)
        return commentBlock(view.substr(4));
    return {};
}

ByteSource fileSource(const std::string& path)
{
    auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
    ByteSource source;
    in->seekg(0, std::ios::end);
    const std::streamoff size = in->good() ? static_cast<std::streamoff>(in->tellg()) : 0;
    source.size = size > 0 ? static_cast<uint64_t>(size) : 0;
    source.read = [in, total = source.size](uint64_t offset, size_t count) {
        std::string bytes;
        if (offset >= total)
            return bytes;
        bytes.resize(static_cast<size_t>(std::min<uint64_t>({ count, total - offset, kMostTagBytes })));
        in->clear();
        in->seekg(static_cast<std::streamoff>(offset));
        in->read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in->gcount(), 0)));
        return bytes;
    };
    return source;
}

} // namespace platform
