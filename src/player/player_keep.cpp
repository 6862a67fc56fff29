// What the player keeps between runs: the loudness and muting restored at start and saved when
// they change, and the place a video was left, resumed when it is played again.
#include "player/player_keep.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "common/data_folders.h"
#include "platform/textfile.h"
#include "player/media_kinds.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "traymenu/tray_window.h"

namespace player {

namespace {

// The text read as a whole number, nothing when it is anything else.
std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The kept files are small: anything larger is not ours and is ignored.
constexpr size_t kMaxKeptBytes = 1 << 20;

// The kept files are UTF-8 whatever the code page: paths of any language survive.
constexpr const char* kKeptCodePage = "UTF-8";

std::vector<std::string> readKept(runtime::App& app, const char* name)
{
    std::vector<std::string> lines;
    if (platform::readLinesChecked(common::dataPaths(app).root + name, kKeptCodePage, lines, kMaxKeptBytes)
        != platform::ReadOutcome::Read)
        lines.clear();
    return lines;
}

void writeKept(runtime::App& app, const char* name, const std::vector<std::string>& lines)
{
    common::EnsureDataFolders(app);
    // A failed write only loses this change; playing goes on.
    (void)platform::writeLines(common::dataPaths(app).root + name, lines, kKeptCodePage);
}

std::string clockText(double seconds)
{
    const auto whole = static_cast<int64_t>(seconds);
    const std::string s = std::to_string(whole % 60);
    return std::to_string(whole / 60) + ":" + (s.size() < 2 ? "0" + s : s);
}

// The words of the ReplayGain modes, in their order.
constexpr const char* kReplayGainWords[] = { "off", "track", "album" };

// Ten gains in dB within the equalizer's range, "G1,...,G10"; nothing for anything else.
std::optional<runtime::EqualizerGains> parseGains(std::string_view text)
{
    runtime::EqualizerGains gains {};
    for (size_t band = 0; band < gains.size(); ++band) {
        const size_t comma = std::min(text.find(','), text.size());
        const std::optional<int> gain = wholeNumber(text.substr(0, comma));
        if (!gain || std::abs(*gain) > runtime::kEqualizerMaxDb)
            return std::nullopt;
        gains[band] = *gain;
        const bool last = band + 1 == gains.size();
        if (last != (comma == text.size()))
            return std::nullopt;
        text.remove_prefix(last ? comma : comma + 1);
    }
    return gains;
}

// How long the note about a resumed video stays.
constexpr int kResumeNoteMs = 4000;

} // namespace

SoundSettings parseSound(const std::vector<std::string>& lines)
{
    SoundSettings sound;
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::string_view text = std::string_view(line).substr(eq + 1);
        const std::optional<int> value = wholeNumber(text);
        if (key == "replaygain") {
            for (int mode = 0; mode < 3; ++mode) {
                if (text == kReplayGainWords[mode])
                    sound.replayGain = static_cast<runtime::ReplayGain>(mode);
            }
        } else if (key == "equalizer") {
            // Gains that are not ten in range leave the flat curve.
            if (const auto gains = parseGains(text))
                sound.equalizer = *gains;
        } else if (!value) {
            continue;
        } else if (key == "volume" && *value >= 0 && *value <= 100) {
            sound.volume = *value;
        } else if (key == "mute" && (*value == 0 || *value == 1)) {
            sound.mute = *value == 1;
        }
    }
    return sound;
}

std::vector<std::string> soundLines(const SoundSettings& sound)
{
    std::string gains;
    for (int gain : sound.equalizer)
        gains += (gains.empty() ? "" : ",") + std::to_string(gain);
    return { "volume=" + std::to_string(sound.volume), std::string("mute=") + (sound.mute ? "1" : "0"),
        std::string("replaygain=") + kReplayGainWords[static_cast<int>(sound.replayGain)],
        "equalizer=" + gains };
}

void Places::parse(const std::vector<std::string>& lines)
{
    m_places.clear();
    for (const std::string& line : lines) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab + 1 >= line.size())
            continue;
        const int seconds = wholeNumber(std::string_view(line).substr(0, tab)).value_or(0);
        if (seconds <= 0)
            continue;
        const std::string rest = line.substr(tab + 1);
        const size_t second = rest.find('\t');
        if (m_places.size() < kKeptPlaces)
            m_places.push_back({ static_cast<double>(seconds), rest.substr(0, second),
                second == std::string::npos ? std::string() : rest.substr(second + 1) });
    }
}

std::vector<std::string> Places::lines() const
{
    std::vector<std::string> out;
    for (const Place& p : m_places)
        out.push_back(std::to_string(static_cast<int64_t>(p.seconds)) + "\t" + p.path
            + (p.subtitle.empty() ? "" : "\t" + p.subtitle));
    return out;
}

const Places::Place* Places::placeOf(const std::string& path) const
{
    for (const Place& p : m_places) {
        if (p.path == path)
            return &p;
    }
    return nullptr;
}

double Places::find(const std::string& path) const
{
    const Place* p = placeOf(path);
    return p ? p->seconds : 0;
}

std::string Places::subtitleOf(const std::string& path) const
{
    const Place* p = placeOf(path);
    return p ? p->subtitle : std::string();
}

void Places::remember(const std::string& path, double position, double duration, const std::string& subtitle)
{
    std::erase_if(m_places, [&](const Place& p) { return p.path == path; });
    if (!(duration > 2 * kPlaceMargin) || !(position > kPlaceMargin) || position >= duration - kPlaceMargin)
        return;
    // Sound: a path or a subtitle holding a tab would read back as other fields: such a place
    // is kept without its subtitle.
    const bool subtitleFits
        = path.find('\t') == std::string::npos && subtitle.find('\t') == std::string::npos;
    m_places.insert(
        m_places.begin(), { std::floor(position), path, subtitleFits ? subtitle : std::string() });
    if (m_places.size() > kKeptPlaces)
        m_places.resize(kKeptPlaces);
}

void Form5::Text3_Change()
{
    // The play-mode menu shows the mode in force.
    if (auto* tray = app().find<traymenu::Form6>())
        tray->markPlayMode(Text3.text());
}

void Form5::restoreSound()
{
    const SoundSettings sound = parseSound(readKept(app(), kSoundFile));
    m_keptSound = soundLines(sound);
    WindowsMediaPlayer1.setVolume(sound.volume);
    WindowsMediaPlayer1.setMute(sound.mute);
    WindowsMediaPlayer1.setReplayGain(sound.replayGain);
    WindowsMediaPlayer1.setEqualizer(sound.equalizer);
}

void Form5::WindowsMediaPlayer1_SoundChange()
{
    const std::vector<std::string> lines = soundLines({ WindowsMediaPlayer1.volume(),
        WindowsMediaPlayer1.mute(), WindowsMediaPlayer1.replayGain(), WindowsMediaPlayer1.equalizer() });
    if (lines == m_keptSound)
        return;
    m_keptSound = lines;
    writeKept(app(), kSoundFile, lines);
}

void Form5::WindowsMediaPlayer1_Leave()
{
    // Music always starts from the beginning; only videos keep their place.
    const std::string url = WindowsMediaPlayer1.url();
    m_resumeChecked.clear();
    if (!media::isVideo(url))
        return;
    const double duration = WindowsMediaPlayer1.duration();
    double position = duration;
    if (mediaPlayerBusy())
        position = WindowsMediaPlayer1.position();
    else if (WindowsMediaPlayer1.playState() != runtime::PlayStopped || WindowsMediaPlayer1.stoppedByUser())
        // Stopped on the bar (its place was kept then) or never played: nothing to change.
        return;
    Places places;
    places.parse(readKept(app(), kPlacesFile));
    const std::vector<std::string> before = places.lines();
    places.remember(url, position, duration, WindowsMediaPlayer1.subtitle());
    if (places.lines() != before)
        writeKept(app(), kPlacesFile, places.lines());
}

void Form5::resumePlace()
{
    const std::string url = WindowsMediaPlayer1.url();
    if (url == m_resumeChecked || !media::isVideo(url))
        return;
    m_resumeChecked = url;
    Places places;
    places.parse(readKept(app(), kPlacesFile));
    const double at = places.find(url);
    if (at <= 0)
        return;
    WindowsMediaPlayer1.seek(at);
    // The subtitle chosen when it was left comes back with the place.
    if (const std::string subtitle = places.subtitleOf(url); !subtitle.empty())
        WindowsMediaPlayer1.setSubtitle(subtitle);
    Text5.move(WindowsMediaPlayer1.left(), WindowsMediaPlayer1.top(), WindowsMediaPlayer1.width(), 24);
    Text5.setText("从上次停止的位置 " + clockText(at) + " 继续播放");
    Text5.setVisible(true);
    jixu.start(kResumeNoteMs);
}

void Form5::jixu_Timer()
{
    jixu.setEnabled(false);
    if (Text5.height() == 24)
        Text5.setVisible(false);
}

void Form5::programEnding()
{
    WindowsMediaPlayer1_Leave();
}

void Form5::unloading()
{
    WindowsMediaPlayer1_Leave();
}

} // namespace player
