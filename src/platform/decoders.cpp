#include "platform/decoders.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace platform {

namespace {

// Whether an integer field of a capability allows value: "(int)4", "(int){ 2, 4 }" or
// "(int)[ 1, 3 ]"; a capability without the field allows every value.
bool allows(const std::string& caps, const std::string& field, int value)
{
    const std::string key = field + "=(int)";
    const size_t at = caps.find(key);
    if (at == std::string::npos)
        return true;
    size_t i = at + key.size();
    if (i >= caps.size())
        return false;
    auto numbers = [&](char close) {
        std::vector<long> out;
        const size_t end = caps.find(close, i);
        std::istringstream in(caps.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
        std::string part;
        while (std::getline(in, part, ','))
            out.push_back(std::strtol(part.c_str(), nullptr, 10));
        return out;
    };
    if (caps[i] == '{') {
        const auto list = numbers('}');
        return std::find(list.begin(), list.end(), value) != list.end();
    }
    if (caps[i] == '[') {
        const auto range = numbers(']');
        return range.size() == 2 && range[0] <= value && value <= range[1];
    }
    return std::strtol(caps.c_str() + i, nullptr, 10) == value;
}

// Which common format a decoder capability covers, as an index into kCommonFormats, or -1.
std::vector<int> formatsOf(const std::string& caps)
{
    const std::string type = caps.substr(0, caps.find_first_of(",;"));
    if (type == "audio/mpeg") {
        std::vector<int> out;
        if (allows(caps, "mpegversion", 1) && allows(caps, "layer", 3))
            out.push_back(0);
        if (allows(caps, "mpegversion", 2) || allows(caps, "mpegversion", 4))
            out.push_back(1);
        return out;
    }
    if (type == "video/x-h264")
        return { 2 };
    if (type == "video/mpeg" && caps.find("mpegversion=") != std::string::npos
        && allows(caps, "mpegversion", 4))
        return { 3 };
    if (type == "audio/x-vorbis")
        return { 4 };
    if (type == "video/x-theora")
        return { 5 };
    return {};
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

} // namespace

std::vector<std::string> formatsWithoutDecoder(const std::string& listing)
{
    constexpr size_t count = std::size(kCommonFormats);
    bool found[count] = {};
    std::istringstream in(listing);
    std::string line;
    const std::string prefix = "decoder-";
    while (std::getline(in, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        for (int f : formatsOf(line.substr(prefix.size())))
            found[f] = true;
    }
    std::vector<std::string> missing;
    for (size_t f = 0; f < count; ++f) {
        if (!found[f])
            missing.emplace_back(kCommonFormats[f]);
    }
    return missing;
}

std::vector<std::string> formatsOfMedium(const std::string& name)
{
    const size_t dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : lower(name.substr(dot + 1));
    if (ext == "mp3")
        return { "MP3" };
    if (ext == "aac" || ext == "m4a")
        return { "AAC" };
    if (ext == "ogg" || ext == "oga")
        return { "Vorbis" };
    if (ext == "ogv")
        return { "Vorbis", "Theora" };
    if (ext == "mp4" || ext == "m4v" || ext == "mov" || ext == "3gp" || ext == "mkv" || ext == "flv"
        || ext == "avi")
        return { "MP3", "AAC", "H.264", "MPEG-4" };
    return {};
}

} // namespace platform
