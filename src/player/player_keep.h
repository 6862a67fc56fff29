#pragma once
// What the player keeps between runs, in files of its own beside the designed ones: the
// loudness and muting, ReplayGain and the equalizer, and where videos were left.
#include <string>
#include <utility>
#include <vector>

#include "runtime/engines.h"

namespace player {

// The file names in the data folder.
inline constexpr const char* kSoundFile = "player.ini";
inline constexpr const char* kPlacesFile = "places.ini";
// How many videos keep their place; the oldest is forgotten first.
inline constexpr size_t kKeptPlaces = 200;
// A place is kept only this far (seconds) from both ends of the video.
inline constexpr double kPlaceMargin = 30;

struct SoundSettings {
    int volume = 100;
    bool mute = false;
    runtime::ReplayGain replayGain = runtime::ReplayGain::Off;
    runtime::EqualizerGains equalizer {};
};

// The sound settings from the file's lines ("volume=N", "mute=0|1", "replaygain=off|track|album",
// "equalizer=G1,...,G10" in dB); missing or malformed lines keep the defaults.
SoundSettings parseSound(const std::vector<std::string>& lines);
std::vector<std::string> soundLines(const SoundSettings& sound);

// Where videos were left, the most recent first, with the subtitle chosen for each:
// "SECONDS<TAB>PATH" or "SECONDS<TAB>PATH<TAB>SUBTITLE" lines.
class Places {
public:
    // Reads the file's lines; malformed lines are skipped.
    void parse(const std::vector<std::string>& lines);
    [[nodiscard]] std::vector<std::string> lines() const;
    // The place a path was left at (0 when none is kept), and the subtitle chosen there.
    [[nodiscard]] double find(const std::string& path) const;
    [[nodiscard]] std::string subtitleOf(const std::string& path) const;
    // Keeps where a video was left: only in the middle of a known length, else forgets it.
    void remember(
        const std::string& path, double position, double duration, const std::string& subtitle = {});

private:
    struct Place {
        double seconds;
        std::string path;
        std::string subtitle;
    };
    [[nodiscard]] const Place* placeOf(const std::string& path) const;

    std::vector<Place> m_places;
};

} // namespace player
