#pragma once
// The equalizer as mpv plays it: FFmpeg's peak filter for each band, after a pre-gain that
// keeps the boosted sound within full scale.
#include <string>

#include "runtime/engines.h"

namespace gui {

// The label of the pre-gain filter and of each band's filter, for changing them while playing.
inline constexpr const char* kPreGainLabel = "eqpre";
std::string bandLabel(int band);

// mpv's audio filters for the gains: the labelled pre-gain, then one labelled peak filter per
// band.
std::string equalizerFilters(const runtime::EqualizerGains& gains);

// The factor (at most 1) that brings the bands' largest combined boost down to nothing, as the
// volume filter's argument.
std::string preGainText(const runtime::EqualizerGains& gains);
double preGain(const runtime::EqualizerGains& gains);

} // namespace gui
