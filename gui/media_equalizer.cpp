#include "gui/media_equalizer.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

namespace gui {

namespace {

// The rate the response is worked out at; at another rate the bands lie a little elsewhere,
// which the margin below covers.
constexpr double kRate = 44100;
// Kept below full scale besides the boost (0.1 dB).
constexpr double kMarginDb = 0.1;

// The response at frequency hz of FFmpeg's peak filter at centre f with a width of one octave
// and gain g dB (its biquad, as its equalizer filter designs it).
std::complex<double> peakResponse(double f, double g, double hz)
{
    const double w0 = 2 * M_PI * f / kRate;
    const double alpha = std::sin(w0) * std::sinh(std::log(2.0) / 2 * 1.0 * w0 / std::sin(w0));
    const double a = std::pow(10, g / 40);
    const double cosW0 = std::cos(w0);
    const std::complex<double> z1 = std::polar(1.0, -2 * M_PI * hz / kRate);
    const std::complex<double> z2 = z1 * z1;
    return (1 + alpha * a - 2 * cosW0 * z1 + (1 - alpha * a) * z2)
        / (1 + alpha / a - 2 * cosW0 * z1 + (1 - alpha / a) * z2);
}

// The frequency `step` twelfths of an octave above 16 Hz.
double twelfthsAbove16Hz(int step)
{
    return 16 * std::exp2(step / 12.0);
}

} // namespace

std::string bandLabel(int band)
{
    return "eq" + std::to_string(band);
}

double preGain(const runtime::EqualizerGains& gains)
{
    // Neighbouring bands overlap: two boosted ones lift the sound between them beyond either
    // boost, so the largest gain of all the filters together is sought over the audible range
    // (a twelfth of an octave apart) rather than taken from the largest band.
    double loudest = 1;
    for (int step = 0; twelfthsAbove16Hz(step) < 20000; ++step) {
        const double hz = twelfthsAbove16Hz(step);
        std::complex<double> response = 1;
        for (int band = 0; band < runtime::kEqualizerBands; ++band)
            response *= peakResponse(runtime::kEqualizerHz[band], gains[static_cast<size_t>(band)], hz);
        loudest = std::max(loudest, std::abs(response));
    }
    return loudest > 1 ? std::pow(10, -kMarginDb / 20) / loudest : 1;
}

std::string preGainText(const runtime::EqualizerGains& gains)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", preGain(gains));
    return text;
}

std::string equalizerFilters(const runtime::EqualizerGains& gains)
{
    // Sound: the pre-gain goes first, so boosted bands never clip a full-scale song, also
    // where the filters work on whole-number samples.
    std::string filters = std::string("@") + kPreGainLabel + ":lavfi=[volume=" + preGainText(gains) + "]";
    for (int band = 0; band < runtime::kEqualizerBands; ++band) {
        filters += ",@" + bandLabel(band)
            + ":lavfi=[equalizer=f=" + std::to_string(runtime::kEqualizerHz[band])
            + ":t=o:w=1:g=" + std::to_string(gains[static_cast<size_t>(band)]) + "]";
    }
    return filters;
}

} // namespace gui
