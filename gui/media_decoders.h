#pragma once
// The decoders of the media engine: FFmpeg's, which libmpv plays through.
#include "platform/decoders.h"

namespace gui {

class MpvDecoders : public platform::Decoders {
public:
    // Asked once, on first use, from a player that plays nothing.
    std::vector<std::string> missing() override;

private:
    bool m_answered = false;
    std::vector<std::string> m_missing;
};

} // namespace gui
