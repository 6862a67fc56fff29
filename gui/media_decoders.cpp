#include "gui/media_decoders.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace gui {

namespace {

// The names of the formats FFmpeg's decoders read, as libmpv names them in its decoder list
// (the codec's descriptor name). libmpv decodes through this same libavcodec, already loaded
// with it: asking FFmpeg directly costs nothing, where starting a second player to ask it held
// megabytes while the program started.
std::vector<std::string> codecNames()
{
    std::vector<std::string> names;
    void* at = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&at)) {
        if (av_codec_is_decoder(codec))
            names.emplace_back(avcodec_get_name(codec->id));
    }
    return names;
}

} // namespace

std::vector<std::string> MpvDecoders::missing()
{
    if (m_answered)
        return m_missing;
    m_answered = true;
    const std::vector<std::string> codecs = codecNames();
    // A library that names nothing names nothing missing: the hint would only mislead.
    if (!codecs.empty())
        m_missing = platform::formatsWithoutDecoder(codecs);
    return m_missing;
}

} // namespace gui
