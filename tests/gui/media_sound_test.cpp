// What the engine plays, written out as samples (mpv's file output): two songs cut from one
// tone join without a sample missing or doubled, and ReplayGain's tags set the level, never
// beyond full scale.
#include <QProcess>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "desktop_fixture.h"
#include "gui/equalizer_window.h"
#include "support/tone_join.h"
#include "test_windows.h"

namespace gui_testing {
namespace {

using testing_support::kToneRate;
using testing_support::readSamples;
using testing_support::tone;
using testing_support::writeWav;

double rms(const std::vector<int16_t>& s, size_t from, size_t count)
{
    double sum = 0;
    for (size_t i = from; i < from + count && i < s.size(); ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / static_cast<double>(count));
}

class DesktopSound : public DesktopTest {
protected:
    DesktopSound() { setenv("ZELVORA_SOUND_FILE", output.c_str(), 1); }
    ~DesktopSound() override { unsetenv("ZELVORA_SOUND_FILE"); }

    // Plays address to its end, with next put after it as the player window does.
    void playToEnd(const std::string& address, const std::string& next = {})
    {
        Sample& s = app().get<Sample>();
        runtime::MediaPlayer& player = s.WindowsMediaPlayer1;
        const auto ends = [&] { return std::count(s.events.begin(), s.events.end(), "PlayStateChange 1"); };
        const auto before = ends();
        session().run([&] {
            player.setUrl(address);
            player.setNext(next);
        });
        ASSERT_TRUE(waitFor([&] { return ends() > before; }, 15000)) << address;
        if (next.empty())
            return;
        // The window gives the next address when the first one stops: it plays on.
        session().run([&] { player.setUrl(next); });
        ASSERT_TRUE(waitFor([&] { return ends() > before + 1; }, 15000)) << next;
    }

    const std::string output = dir.file("out.raw");
};

TEST_F(DesktopSound, SongsCutFromOneToneJoinWithoutASampleMissingOrDoubled)
{
    const int cut = kToneRate + 123; // inside a period, off a zero crossing
    writeWav(dir.file("a.wav"), tone(0, cut, 0.3));
    writeWav(dir.file("b.wav"), tone(cut, kToneRate, 0.3));
    playToEnd(dir.file("a.wav"), dir.file("b.wav"));
    const std::vector<int16_t> heard = readSamples(output);
    const std::vector<int16_t> whole = tone(0, cut + kToneRate, 0.3);
    EXPECT_EQ(heard.size(), whole.size());
    const testing_support::Join join = testing_support::measureJoin(heard, whole, cut);
    EXPECT_EQ(join.missing, 0);
    EXPECT_EQ(join.doubled, 0);
    // Only rounding between the engine's float samples and 16 bits.
    EXPECT_GE(join.worst, 0);
    EXPECT_LE(join.worst, 2);
}

TEST_F(DesktopSound, ReplayGainSetsTheLevelFromTheTagsWithoutClipping)
{
    auto song = [&](const std::string& name, double level, const char* track, const char* album,
                    const char* peak) {
        const std::string path = dir.file(name);
        EXPECT_EQ(
            QProcess::execute(QStringLiteral("ffmpeg"),
                { "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    QStringLiteral("sine=frequency=440:sample_rate=44100:duration=1"), "-af",
                    QStringLiteral("volume=%1").arg(level), "-ac", "2", "-metadata",
                    QStringLiteral("REPLAYGAIN_TRACK_GAIN=%1 dB").arg(track), "-metadata",
                    QStringLiteral("REPLAYGAIN_ALBUM_GAIN=%1 dB").arg(album), "-metadata",
                    QStringLiteral("REPLAYGAIN_TRACK_PEAK=%1").arg(peak), "-metadata",
                    QStringLiteral("REPLAYGAIN_ALBUM_PEAK=%1").arg(peak), QString::fromStdString(path) }),
            0);
        return path;
    };
    const std::string quiet = song("quiet.flac", 0.25, "-6.00", "-12.00", "0.25");
    const std::string loud = song("loud.flac", 0.9, "+12.00", "+12.00", "0.9");
    runtime::MediaPlayer& player = app().get<Sample>().WindowsMediaPlayer1;
    // Columns: the mode, the song, its level against the song played as it is.
    const struct {
        const char* name;
        runtime::ReplayGain mode;
        std::string song;
        double ratio;
    } rows[] = {
        { "quiet_off", runtime::ReplayGain::Off, quiet, 1.0 },
        { "quiet_track", runtime::ReplayGain::Track, quiet, std::pow(10, -6 / 20.0) },
        { "quiet_album", runtime::ReplayGain::Album, quiet, std::pow(10, -12 / 20.0) },
        { "loud_off", runtime::ReplayGain::Off, loud, 1.0 },
        // +12 dB would clip: the gain stops where the peak reaches full scale.
        { "loud_track_stops_at_peak", runtime::ReplayGain::Track, loud, 1 / 0.9 },
    };
    std::vector<double> levels;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const size_t from = readSamples(output).size();
        session().run([&] { player.setReplayGain(row.mode); });
        playToEnd(row.song);
        const std::vector<int16_t> heard = readSamples(output);
        // The middle of the second, away from the filters' start.
        levels.push_back(rms(heard, from + kToneRate / 2, kToneRate / 2));
        const double plain = row.song == quiet ? levels[0] : levels[3];
        EXPECT_NEAR(levels.back() / plain, row.ratio, 0.03) << static_cast<int>(row.mode) << " " << row.song;
    }
}

TEST_F(DesktopSound, BoostedBandsNeverClipAFullScaleSong)
{
    // A sweep from 30 Hz to 18 kHz over three seconds passes every band, its peak a hair under
    // full scale (so full scale heard can only be a clipped sample).
    std::vector<int16_t> sweep;
    const double rise = std::log(18000.0 / 30);
    for (int i = 0; i < 3 * kToneRate; ++i) {
        const double t = static_cast<double>(i) / kToneRate;
        const auto v = static_cast<int16_t>(
            std::lround(32767 * 0.98 * std::sin(2 * M_PI * 30 * 3 / rise * (std::exp(rise * t / 3) - 1))));
        sweep.insert(sweep.end(), { v, v });
    }
    writeWav(dir.file("sweep.wav"), sweep);
    runtime::MediaPlayer& player = app().get<Sample>().WindowsMediaPlayer1;
    for (const gui::EqualizerPreset& preset : gui::kEqualizerPresets) {
        const size_t from = readSamples(output).size();
        session().run([&] { player.setEqualizer(preset.gains); });
        playToEnd(dir.file("sweep.wav"));
        const std::vector<int16_t> heard = readSamples(output);
        ASSERT_GE(heard.size() - from, sweep.size()) << preset.name;
        int peak = 0, clipped = 0;
        for (size_t i = from; i < heard.size(); ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(heard[i])));
            clipped += heard[i] >= 32767 || heard[i] <= -32767;
        }
        EXPECT_EQ(clipped, 0) << preset.name;
        // Brought down no further than the boost asks.
        EXPECT_GT(peak, 32767 * 0.9) << preset.name;
    }
}

} // namespace
} // namespace gui_testing
