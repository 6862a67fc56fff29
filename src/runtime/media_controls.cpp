#include "runtime/media_controls.h"

#include <algorithm>
#include <cmath>

#include "runtime/app.h"
#include "runtime/form.h"
#include "runtime/vbtext.h"

namespace runtime {

namespace {
constexpr size_t kMaxLogEntries = 10000;
}

void RecordingBrowserEngine::navigate(const std::string& url)
{
    m_location = url;
    m_document.clear();
}

void RecordingBrowserEngine::write(const std::string& html)
{
    m_document = html;
}

void RecordingMediaEngine::setPosition(double seconds)
{
    m_position = std::clamp(seconds, 0.0, m_duration);
}

void CallLog::add(std::string entry)
{
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > kMaxLogEntries)
        m_entries.pop_front();
}

std::vector<std::string> CallLog::take()
{
    std::vector<std::string> out(m_entries.begin(), m_entries.end());
    m_entries.clear();
    return out;
}

WebBrowser::WebBrowser(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::WebBrowser)
{
}

WebBrowser::~WebBrowser() = default;

BrowserEngine& WebBrowser::engine()
{
    if (!m_engine) {
        m_engine = app().createBrowserEngine(*this);
        m_engine->setSilent(m_silent);
    }
    return *m_engine;
}

void WebBrowser::setEngine(std::unique_ptr<BrowserEngine> engine)
{
    m_engine = std::move(engine);
    if (m_engine)
        m_engine->setSilent(m_silent);
    touch();
}

void WebBrowser::navigate(const std::string& url)
{
    m_log.add("navigate " + url);
    engine().navigate(url);
    touch();
}

void WebBrowser::write(const std::string& html)
{
    m_log.add("write " + std::to_string(html.size()));
    engine().write(html);
    touch();
}

void WebBrowser::reload(const std::string& argument)
{
    m_log.add("reload");
    engine().reload(argument);
    touch();
}

void WebBrowser::refresh()
{
    m_log.add("refresh");
    engine().refresh();
    touch();
}

void WebBrowser::stop()
{
    m_log.add("stop");
    engine().stop();
}

bool WebBrowser::busy()
{
    return engine().busy();
}

void WebBrowser::setSilent(bool v)
{
    m_silent = v;
    if (m_engine)
        m_engine->setSilent(v);
}

void WebBrowser::setBodyScroll(const std::string& value)
{
    engine().setBodyScroll(value);
    touch();
}

std::string WebBrowser::bodyScroll()
{
    return engine().bodyScroll();
}

std::string WebBrowser::location()
{
    return engine().location();
}

std::string WebBrowser::documentText()
{
    return engine().documentText();
}

std::vector<BrowserLink> WebBrowser::links()
{
    return engine().links();
}

std::vector<BrowserLink> WebBrowser::images()
{
    return engine().images();
}

std::vector<BrowserLink> WebBrowser::linksAndImages()
{
    return engine().linksAndImages();
}

std::string WebBrowser::activeElementHref()
{
    return engine().activeElementHref();
}

bool WebBrowser::supportsFlash()
{
    return engine().supportsFlash();
}

void WebBrowser::newWindowRequested(const std::string& url, bool& cancel)
{
    if (onNewWindow)
        app().dispatch([&] { onNewWindow(url, cancel); });
}

void WebBrowser::beforeNavigate(const std::string& url)
{
    if (onBeforeNavigate)
        app().dispatch([&] { onBeforeNavigate(url); });
}

void WebBrowser::downloadComplete()
{
    touch();
    if (onDownloadComplete)
        app().dispatch(onDownloadComplete);
}

void WebBrowser::documentComplete(const std::string& url)
{
    touch();
    if (onDocumentComplete)
        app().dispatch([&] { onDocumentComplete(url); });
}

bool WebBrowser::documentContextMenu()
{
    bool allow = true;
    if (onDocumentContextMenu)
        app().dispatch([&] { allow = onDocumentContextMenu(); });
    return allow;
}

std::optional<std::string> WebBrowser::property(std::string_view name) const
{
    // Reading the document does not create an engine: a browser never used shows nothing.
    if (name == "location")
        return m_engine ? m_engine->location() : std::string();
    if (name == "document")
        return m_engine ? m_engine->documentText() : std::string();
    if (name == "silent")
        return propertyText(m_silent);
    if (name == "busy")
        return propertyText(m_engine ? m_engine->busy() : false);
    if (name == "bodyScroll")
        return m_engine ? m_engine->bodyScroll() : std::string();
    return Control::property(name);
}

MediaPlayer::MediaPlayer(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::MediaPlayer)
{
}

MediaPlayer::~MediaPlayer() = default;

LyricsBar::LyricsBar(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::LyricsBar)
{
}

void LyricsBar::setFillColor(int64_t v)
{
    assign(m_fillColor, v);
}

void LyricsBar::setOutlineColor(int64_t v)
{
    assign(m_outlineColor, v);
}

MediaEngine& MediaPlayer::engine()
{
    if (!m_engine)
        setEngine(app().createMediaEngine(*this));
    return *m_engine;
}

void MediaPlayer::setEngine(std::unique_ptr<MediaEngine> engine)
{
    m_engine = std::move(engine);
    if (m_engine) {
        m_engine->setVolume(m_volume);
        m_engine->setMute(m_mute);
        m_engine->setRate(m_rate);
        m_engine->setReplayGain(m_replayGain);
        m_engine->setEqualizer(m_equalizer);
    }
}

void MediaPlayer::leave()
{
    if (onLeave && !m_url.empty() && m_engine)
        onLeave();
}

void MediaPlayer::setUrl(const std::string& url)
{
    leave();
    m_url = url;
    m_stoppedByUser = false;
    m_next.clear();
    m_subtitle.clear();
    touch();
    m_refused = !url.empty() && m_addressCheck && !m_addressCheck(url);
    if (m_refused) {
        m_log.add("refused " + url);
        engine().close();
        reportPlayState(PlayReady);
        reportUndecodable();
        return;
    }
    m_log.add("url " + url);
    engine().setUrl(url);
}

void MediaPlayer::close()
{
    leave();
    m_log.add("close");
    engine().close();
}

void MediaPlayer::play()
{
    m_log.add("play");
    m_stoppedByUser = false;
    if (!m_refused)
        engine().play();
}

void MediaPlayer::stop()
{
    m_log.add("stop");
    engine().stop();
}

void MediaPlayer::pause()
{
    m_log.add("pause");
    engine().pause();
}

void MediaPlayer::playOrPause()
{
    if (m_playState == PlayPlaying || m_playState == PlayBuffering || m_playState == PlayWaiting)
        pause();
    else
        play();
}

void MediaPlayer::stopByUser()
{
    leave();
    m_stoppedByUser = true;
    touch();
    stop();
}

double MediaPlayer::position() const
{
    return m_engine ? m_engine->position() : 0;
}

double MediaPlayer::duration() const
{
    return m_engine ? m_engine->duration() : 0;
}

void MediaPlayer::seek(double seconds)
{
    const double length = duration();
    if (!(seconds >= 0))
        seconds = 0;
    if (length > 0 && seconds > length)
        seconds = length;
    m_log.add("seek " + std::to_string(static_cast<int64_t>(seconds * 1000)));
    engine().setPosition(seconds);
    touch();
}

void MediaPlayer::setVolume(int percent)
{
    const int before = m_volume;
    m_volume = std::clamp(percent, 0, 100);
    m_log.add("volume " + std::to_string(m_volume));
    if (m_engine)
        m_engine->setVolume(m_volume);
    touch();
    if (onSoundChange && m_volume != before)
        onSoundChange();
}

void MediaPlayer::setMute(bool mute)
{
    const bool before = m_mute;
    m_mute = mute;
    m_log.add(mute ? "mute" : "unmute");
    if (m_engine)
        m_engine->setMute(mute);
    touch();
    if (onSoundChange && m_mute != before)
        onSoundChange();
}

void MediaPlayer::setRate(double rate)
{
    if (std::isnan(rate))
        return;
    m_rate = std::clamp(rate, kMinRate, kMaxRate);
    m_log.add("rate " + vb::Format00(m_rate));
    if (m_engine)
        m_engine->setRate(m_rate);
    touch();
}

void MediaPlayer::setReplayGain(ReplayGain mode)
{
    const bool changed = mode != m_replayGain;
    m_replayGain = mode;
    m_log.add("replaygain " + std::to_string(static_cast<int>(mode)));
    if (m_engine)
        m_engine->setReplayGain(mode);
    touch();
    if (onSoundChange && changed)
        onSoundChange();
}

void MediaPlayer::setEqualizer(EqualizerGains gains)
{
    std::string text;
    for (int& gain : gains) {
        gain = std::clamp(gain, -kEqualizerMaxDb, kEqualizerMaxDb);
        text += (text.empty() ? "" : ",") + std::to_string(gain);
    }
    const bool changed = gains != m_equalizer;
    m_equalizer = gains;
    m_log.add("equalizer " + text);
    if (m_engine)
        m_engine->setEqualizer(gains);
    touch();
    if (onSoundChange && changed)
        onSoundChange();
}

void MediaPlayer::setNext(const std::string& url)
{
    if (url == m_next)
        return;
    m_next = url;
    m_log.add("next " + url);
    if (m_engine)
        m_engine->setNext(url);
}

void MediaPlayer::setSubtitle(const std::string& choice)
{
    m_subtitle = choice;
    m_log.add("subtitle " + choice);
    if (m_engine)
        m_engine->setSubtitle(choice);
    touch();
}

void MediaPlayer::reportSubtitle(const std::string& choice)
{
    m_subtitle = choice;
    touch();
}

void MediaPlayer::reportPlayState(int state)
{
    m_playState = state;
    touch();
    if (onPlayStateChange)
        app().dispatch([&] { onPlayStateChange(state); });
}

void MediaPlayer::reportUndecodable(const std::string& reason)
{
    m_log.add("undecodable");
    m_undecodableReason = reason;
    if (onUndecodable)
        app().dispatch([&] { onUndecodable(); });
}

std::optional<std::string> MediaPlayer::property(std::string_view name) const
{
    if (name == "url")
        return m_url;
    if (name == "playState")
        return propertyText(m_playState);
    if (name == "stoppedByUser")
        return propertyText(m_stoppedByUser);
    if (name == "volume")
        return propertyText(m_volume);
    if (name == "mute")
        return propertyText(m_mute);
    if (name == "rate")
        return vb::Format00(m_rate);
    if (name == "position")
        return std::to_string(static_cast<int64_t>(position()));
    if (name == "duration")
        return std::to_string(static_cast<int64_t>(duration()));
    return Control::property(name);
}

} // namespace runtime
