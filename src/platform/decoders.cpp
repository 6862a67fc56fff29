#include "platform/decoders.h"
#include "runtime/ascii.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace platform {

namespace {

// FFmpeg's name of each common format's decoder, in the order of kCommonFormats.
constexpr const char* kCodecNames[] = { "mp3", "aac", "h264", "mpeg4", "vorbis", "theora" };
static_assert(std::size(kCodecNames) == std::size(kCommonFormats));

} // namespace

std::vector<std::string> formatsWithoutDecoder(const std::vector<std::string>& codecs)
{
    std::vector<std::string> missing;
    for (size_t f = 0; f < std::size(kCommonFormats); ++f) {
        if (std::find(codecs.begin(), codecs.end(), kCodecNames[f]) == codecs.end())
            missing.emplace_back(kCommonFormats[f]);
    }
    return missing;
}

std::vector<std::string> formatsOfMedium(const std::string& name)
{
    const size_t dot = name.rfind('.');
    const std::string ext
        = dot == std::string::npos ? std::string() : runtime::asciiLower(name.substr(dot + 1));
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
