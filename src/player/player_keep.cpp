// What the player keeps between runs: the loudness and muting restored at start and saved when
// they change, and the place a video was left, resumed when it is played again.
#include "player/player_keep.h"

#include <charconv>
#include <cmath>

#include "common/data_folders.h"
#include "platform/textfile.h"
#include "player/media_kinds.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "traymenu/tray_window.h"

namespace player {

namespace {

bool wholeNumber(std::string_view text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
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

// How long the note about a resumed video stays.
constexpr int kResumeNoteMs = 4000;

} // namespace

SoundSettings parseSound(const std::vector<std::string>& lines)
{
    SoundSettings sound;
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        int value = 0;
        if (eq == std::string::npos || !wholeNumber(std::string_view(line).substr(eq + 1), value))
            continue;
        const std::string key = line.substr(0, eq);
        if (key == "volume" && value >= 0 && value <= 100)
            sound.volume = value;
        else if (key == "mute" && (value == 0 || value == 1))
            sound.mute = value == 1;
    }
    return sound;
}

std::vector<std::string> soundLines(const SoundSettings& sound)
{
    return { "volume=" + std::to_string(sound.volume), std::string("mute=") + (sound.mute ? "1" : "0") };
}

void Places::parse(const std::vector<std::string>& lines)
{
    m_places.clear();
    for (const std::string& line : lines) {
        const size_t tab = line.find('\t');
        int seconds = 0;
        if (tab == std::string::npos || tab + 1 >= line.size()
            || !wholeNumber(std::string_view(line).substr(0, tab), seconds) || seconds <= 0)
            continue;
        if (m_places.size() < kKeptPlaces)
            m_places.emplace_back(seconds, line.substr(tab + 1));
    }
}

std::vector<std::string> Places::lines() const
{
    std::vector<std::string> out;
    for (const auto& [seconds, path] : m_places)
        out.push_back(std::to_string(static_cast<int64_t>(seconds)) + "\t" + path);
    return out;
}

double Places::find(const std::string& path) const
{
    for (const auto& [seconds, kept] : m_places) {
        if (kept == path)
            return seconds;
    }
    return 0;
}

void Places::remember(const std::string& path, double position, double duration)
{
    std::erase_if(m_places, [&](const auto& p) { return p.second == path; });
    if (!(duration > 2 * kPlaceMargin) || !(position > kPlaceMargin) || position >= duration - kPlaceMargin)
        return;
    m_places.insert(m_places.begin(), { std::floor(position), path });
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
}

void Form5::WindowsMediaPlayer1_SoundChange()
{
    const std::vector<std::string> lines
        = soundLines({ WindowsMediaPlayer1.volume(), WindowsMediaPlayer1.mute() });
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
    places.remember(url, position, duration);
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
