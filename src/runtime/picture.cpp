#include "runtime/picture.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace runtime {

namespace {

uint32_t be16(const std::string& b, size_t i)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(b[i]) << 8) | static_cast<uint8_t>(b[i + 1]);
}

uint32_t le16(const std::string& b, size_t i)
{
    return static_cast<uint8_t>(b[i]) | static_cast<uint32_t>(static_cast<uint8_t>(b[i + 1]) << 8);
}

uint32_t le32(const std::string& b, size_t i)
{
    return le16(b, i) | (le16(b, i + 2) << 16);
}

uint32_t be32(const std::string& b, size_t i)
{
    return (be16(b, i) << 16) | be16(b, i + 2);
}

// Walks the JPEG markers up to the first start-of-frame, which carries the size.
bool jpegSize(const std::string& b, int& w, int& h)
{
    size_t i = 2;
    while (i + 9 < b.size()) {
        if (static_cast<uint8_t>(b[i]) != 0xFF)
            return false;
        const uint8_t marker = static_cast<uint8_t>(b[i + 1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const uint32_t len = be16(b, i + 2);
        const bool sof
            = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            h = static_cast<int>(be16(b, i + 5));
            w = static_cast<int>(be16(b, i + 7));
            return w > 0 && h > 0;
        }
        if (len < 2)
            return false;
        i += 2 + len;
    }
    return false;
}

} // namespace

Picture pictureFromBytes(std::string bytes, std::string_view source)
{
    Picture p;
    int w = 0;
    int h = 0;
    std::string format;
    const std::string& b = bytes;
    if (b.size() >= 4 && static_cast<uint8_t>(b[0]) == 0xFF && static_cast<uint8_t>(b[1]) == 0xD8) {
        if (!jpegSize(b, w, h))
            return p;
        format = "jpeg";
    } else if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
        w = static_cast<int>(le16(b, 6));
        h = static_cast<int>(le16(b, 8));
        format = "gif";
    } else if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
        w = static_cast<int>(static_cast<int32_t>(le32(b, 18)));
        h = static_cast<int>(static_cast<int32_t>(le32(b, 22)));
        if (h < 0)
            h = -h; // top-down bitmap
        format = "bmp";
    } else if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        w = static_cast<int>(be32(b, 16));
        h = static_cast<int>(be32(b, 20));
        format = "png";
    } else {
        return p;
    }
    if (w <= 0 || h <= 0)
        return p;
    p.width = w;
    p.height = h;
    p.format = format;
    p.source = std::string(source);
    p.bytes = std::make_shared<const std::string>(std::move(bytes));
    return p;
}

Picture loadPicture(const std::string& path)
{
    if (path.empty())
        return {};
    // Only a regular file is opened: opening a FIFO named as a picture would wait for a
    // writer for ever, and a device never ends.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    // Pictures larger than this are not skins; refusing them keeps memory bounded.
    constexpr std::streamoff kMaxPicture = std::streamoff { 64 } * 1024 * 1024;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxPicture)
        return {};
    in.seekg(0);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in.read(bytes.data(), size))
        return {};
    return pictureFromBytes(std::move(bytes), path);
}

} // namespace runtime
