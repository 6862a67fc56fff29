#include "platform/media_cache.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

namespace platform {

namespace {

constexpr size_t kFingerprintBytes = size_t { 64 } * 1024;
constexpr size_t kCompareChunk = 1 << 20;

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool isMediaName(const std::string& name)
{
    if (name.size() < 3)
        return false;
    std::string tail = name.substr(name.size() - 3);
    std::transform(tail.begin(), tail.end(), tail.begin(), upper);
    return tail == "M4A" || tail == "MP3" || tail == "AAC" || tail == "FLV";
}

std::string mediaExtension(const std::string& name)
{
    // Sound: a name without the dot ("xmp3", or a file "mp3" at a folder's top) keeps a
    // proper extension instead of carrying another character, a separator even, into the
    // copy's name.
    if (name.size() >= 4 && name[name.size() - 4] == '.')
        return name.substr(name.size() - 4);
    return "." + name.substr(name.size() >= 3 ? name.size() - 3 : 0);
}

std::string extensionForMediaType(const std::string& mediaType)
{
    std::string type = mediaType.substr(0, mediaType.find(';'));
    type.erase(std::remove(type.begin(), type.end(), ' '), type.end());
    std::transform(type.begin(), type.end(), type.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    static const std::array<std::pair<const char*, const char*>, 5> kTypes { {
        { "audio/mpeg", ".mp3" },
        { "audio/mp3", ".mp3" },
        { "audio/mp4", ".m4a" },
        { "audio/aac", ".aac" },
        { "video/x-flv", ".flv" },
    } };
    for (const auto& [name, extension] : kTypes)
        if (type == name)
            return extension;
    return {};
}

uint64_t fileFingerprint(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 0;
    std::string head(kFingerprintBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    in.clear();
    in.seekg(0, std::ios::end);
    const auto size = static_cast<uint64_t>(in.tellg());
    // FNV-1a over eight bytes at a time: quick, and only a first filter before a full compare.
    uint64_t h = 1469598103934665603ULL ^ size;
    size_t i = 0;
    for (; i + 8 <= head.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, head.data() + i, 8);
        h = (h ^ word) * 1099511628211ULL;
    }
    for (; i < head.size(); ++i)
        h = (h ^ static_cast<unsigned char>(head[i])) * 1099511628211ULL;
    return h == 0 ? 1 : h;
}

bool sameFileBytes(const std::string& a, const std::string& b)
{
    std::ifstream x(a, std::ios::binary);
    std::ifstream y(b, std::ios::binary);
    if (!x || !y)
        return false;
    std::string bx(kCompareChunk, '\0');
    std::string by(kCompareChunk, '\0');
    while (true) {
        x.read(bx.data(), static_cast<std::streamsize>(bx.size()));
        y.read(by.data(), static_cast<std::streamsize>(by.size()));
        const auto nx = x.gcount();
        if (nx != y.gcount() || std::memcmp(bx.data(), by.data(), static_cast<size_t>(nx)) != 0)
            return false;
        // Both ended together, with the same bytes.
        if (static_cast<size_t>(nx) < kCompareChunk)
            return x.eof() && y.eof();
    }
}

} // namespace platform
