#pragma once
// Two songs cut from one continuous tone, and how the sound a player wrote out (stereo 16-bit
// samples) joins them: frames missing or doubled where the second song starts, and how far any
// sample lies from the uncut tone. Shared by the sound tests and the gap benchmark.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

constexpr int kToneRate = 44100;

// The tone from frame `from` on, stereo: its pitch glides up from 300 Hz by 200 Hz a second,
// so no stretch of it repeats another and a shift at the join cannot pass for a whole period.
inline std::vector<int16_t> tone(int from, int frames, double level)
{
    std::vector<int16_t> out;
    out.reserve(static_cast<size_t>(frames) * 2);
    for (int i = from; i < from + frames; ++i) {
        const double t = static_cast<double>(i) / kToneRate;
        const auto v
            = static_cast<int16_t>(std::lround(32767 * level * std::sin(2 * M_PI * (300 * t + 100 * t * t))));
        out.insert(out.end(), { v, v });
    }
    return out;
}

// A plain PCM wave file of stereo samples at kToneRate.
inline bool writeWav(const std::string& path, const std::vector<int16_t>& samples)
{
    auto le = [](uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return out;
    };
    const auto size = static_cast<uint32_t>(samples.size() * 2);
    std::string wav = "RIFF" + le(36 + size, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(2, 2)
        + le(kToneRate, 4) + le(kToneRate * 4, 4) + le(4, 2) + le(16, 2) + "data" + le(size, 4);
    wav.append(reinterpret_cast<const char*>(samples.data()), size);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << wav;
    return static_cast<bool>(out.flush());
}

// The samples of a file of raw 16-bit samples (mpv's file output without a header).
inline std::vector<int16_t> readSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream whole;
    whole << in.rdbuf();
    const std::string bytes = whole.str();
    std::vector<int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

struct Join {
    // Frames the second song came too early (missing) or too late (doubled, or silence put in).
    int missing = 0;
    int doubled = 0;
    // The largest difference of a heard sample from the uncut tone, the shift at the join
    // allowed for; -1 when less was heard than the whole tone.
    int worst = -1;
};

// How heard joins the two halves of whole cut at frame `cut`: the shift of the second half is
// the one (of up to maxShift frames either way) under which its first frames differ least.
inline Join measureJoin(
    const std::vector<int16_t>& heard, const std::vector<int16_t>& whole, int cut, int maxShift = 4410)
{
    Join join;
    const auto frames = static_cast<int>(whole.size() / 2);
    const auto heardFrames = static_cast<int>(heard.size() / 2);
    auto difference = [&](int at, int shift) {
        return std::abs(heard[2 * static_cast<size_t>(at + shift)] - whole[2 * static_cast<size_t>(at)]);
    };
    const int window = std::min(4096, frames - cut);
    long best = -1;
    int shift = 0;
    for (int s = -std::min(maxShift, cut); s <= maxShift; ++s) {
        if (cut + s + window > heardFrames)
            break;
        long sum = 0;
        for (int i = cut; i < cut + window && (best < 0 || sum < best); ++i)
            sum += difference(i, s);
        if (best < 0 || sum < best) {
            best = sum;
            shift = s;
        }
    }
    (shift < 0 ? join.missing : join.doubled) = std::abs(shift);
    if (frames + shift > heardFrames)
        return join;
    join.worst = 0;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            const size_t at = 2 * static_cast<size_t>(i >= cut ? i + shift : i) + static_cast<size_t>(c);
            join.worst = std::max(
                join.worst, std::abs(heard[at] - whole[2 * static_cast<size_t>(i) + static_cast<size_t>(c)]));
        }
    }
    return join;
}

} // namespace testing_support
