#pragma once
// The two controls whose work is done by an engine: the web browser and the media player.
// Both keep a log of the calls made on them, which the automation console prints.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "runtime/control.h"
#include "runtime/engines.h"

namespace runtime {

// Keeps the most recent calls made on an engine-backed control.
class CallLog {
public:
    void add(std::string entry);
    // Returns the entries recorded since the last take and forgets them.
    std::vector<std::string> take();

private:
    std::deque<std::string> m_entries;
};

// An embedded web browser. Its engine is created by the app's browser factory at first use.
class WebBrowser : public Control, public BrowserEvents {
public:
    WebBrowser(Form& form, std::string name);
    ~WebBrowser() override;

    void navigate(const std::string& url);
    void write(const std::string& html);
    void reload(const std::string& argument);
    void refresh();
    void stop();
    bool busy();
    [[nodiscard]] bool silent() const { return m_silent; }
    void setSilent(bool v);
    void setBodyScroll(const std::string& value);
    std::string bodyScroll();
    std::string location();
    std::string documentText();
    std::vector<BrowserLink> links();
    std::vector<BrowserLink> images();
    // The A and IMG elements in document order.
    std::vector<BrowserLink> linksAndImages();
    std::string activeElementHref();
    // Whether the engine's pages can embed the Flash player.
    bool supportsFlash();

    // The engine, created on first use.
    BrowserEngine& engine();
    // Whether an engine exists yet (the front end creates heavy engines lazily).
    [[nodiscard]] bool hasEngine() const { return m_engine != nullptr; }
    void setEngine(std::unique_ptr<BrowserEngine> engine);
    CallLog& log() { return m_log; }

    // Events raised to the window.
    std::function<void(const std::string& url, bool& cancel)> onNewWindow;
    std::function<void(const std::string& url)> onBeforeNavigate;
    std::function<void()> onDownloadComplete;
    std::function<void(const std::string& url)> onDocumentComplete;
    // The document's context-menu event (a right click on the page); a handler that returns
    // false refuses the menu.
    std::function<bool()> onDocumentContextMenu;

    // Asked by the engine before it opens the page's context menu: true lets it open.
    bool documentContextMenu();

    void newWindowRequested(const std::string& url, bool& cancel) override;
    void beforeNavigate(const std::string& url) override;
    void downloadComplete() override;
    void documentComplete(const std::string& url) override;

    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "location"; }

private:
    std::unique_ptr<BrowserEngine> m_engine;
    CallLog m_log;
    bool m_silent = false;
};

// An embedded media player. Its engine is created by the app's media factory at first use.
class MediaPlayer : public Control {
public:
    MediaPlayer(Form& form, std::string name);
    ~MediaPlayer() override;

    [[nodiscard]] const std::string& url() const { return m_url; }
    void setUrl(const std::string& url);
    // Decides which addresses reach the engine. An address it turns down never does: the
    // medium before it closes, the state becomes ready and the address is reported as one
    // that cannot be played; a play then does nothing until the next address.
    void setAddressCheck(std::function<bool(const std::string& url)> check)
    {
        m_addressCheck = std::move(check);
    }
    [[nodiscard]] bool refused() const { return m_refused; }
    void close();
    void play();
    void stop();
    void pause();
    [[nodiscard]] int playState() const { return m_playState; }

    // The control's own bar, as the person uses it. Its stop is told apart from a medium
    // that ended: the control remembers it until the next address or play, and the windows
    // read it when the stopped state comes.
    void playOrPause();
    void stopByUser();
    [[nodiscard]] bool stoppedByUser() const { return m_stoppedByUser; }

    // Where the medium is and how long it lasts, in seconds (0 without a medium).
    [[nodiscard]] double position() const;
    [[nodiscard]] double duration() const;
    void seek(double seconds);
    // Loudness 0 to 100 and muting; kept by the control and given to every engine.
    [[nodiscard]] int volume() const { return m_volume; }
    void setVolume(int percent);
    [[nodiscard]] bool mute() const { return m_mute; }
    void setMute(bool mute);
    // Playing speed, kMinRate to kMaxRate (a speed outside is brought inside; not a number is
    // ignored); kept by the control and given to every engine.
    [[nodiscard]] double rate() const { return m_rate; }
    void setRate(double rate);
    // Songs' loudness from their tags, and the equalizer (each band brought within
    // ±kEqualizerMaxDb); kept by the control and given to every engine.
    [[nodiscard]] ReplayGain replayGain() const { return m_replayGain; }
    void setReplayGain(ReplayGain mode);
    [[nodiscard]] const EqualizerGains& equalizer() const { return m_equalizer; }
    void setEqualizer(EqualizerGains gains);
    // The medium that will follow the one playing (given to the engine, which may start it
    // without a gap); a new address forgets it.
    [[nodiscard]] const std::string& next() const { return m_next; }
    void setNext(const std::string& url);
    // The subtitle of the medium playing (see MediaEngine::setSubtitle): set by a window, or
    // reported by the engine when the person chooses one; a new address forgets it.
    [[nodiscard]] const std::string& subtitle() const { return m_subtitle; }
    void setSubtitle(const std::string& choice);
    void reportSubtitle(const std::string& choice);

    MediaEngine& engine();
    // Whether an engine exists yet (the front end shows its video only once there is one).
    [[nodiscard]] bool hasEngine() const { return m_engine != nullptr; }
    void setEngine(std::unique_ptr<MediaEngine> engine);
    CallLog& log() { return m_log; }

    // The engine reports a new play state (PlayStopped = 1 also at the end of a medium).
    void reportPlayState(int state);
    std::function<void(int state)> onPlayStateChange;
    // The engine reports that it has no decoder for the medium (or the medium is not one),
    // with its reason in the interface's language when it has one.
    void reportUndecodable(const std::string& reason = {});
    std::function<void()> onUndecodable;
    // The reason of the last medium that could not be played (empty when none was given).
    [[nodiscard]] const std::string& undecodableReason() const { return m_undecodableReason; }
    // The medium is about to be left (a new address, close, the bar's stop): the engine still
    // holds its position.
    std::function<void()> onLeave;
    // The loudness, muting, ReplayGain or equalizer changed.
    std::function<void()> onSoundChange;

    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "url"; }

private:
    // Tells the window that the current medium is being left.
    void leave();

    std::unique_ptr<MediaEngine> m_engine;
    CallLog m_log;
    std::string m_url;
    std::function<bool(const std::string&)> m_addressCheck;
    bool m_refused = false;
    int m_playState = PlayUndefined;
    bool m_stoppedByUser = false;
    int m_volume = 100;
    bool m_mute = false;
    double m_rate = 1;
    ReplayGain m_replayGain = ReplayGain::Off;
    EqualizerGains m_equalizer {};
    std::string m_next;
    std::string m_subtitle;
    std::string m_undecodableReason;
};

// The lyrics of the song the program plays, two lines at a time, the line being sung filling
// as it is sung: drawn by the front end, which follows the media player the desktop's media
// keys reach. The fore colour is the unsung text's, the fill colour the sung part's; both are
// outlined.
class LyricsBar : public Control {
public:
    LyricsBar(Form& form, std::string name);
    [[nodiscard]] int64_t fillColor() const { return m_fillColor; }
    void setFillColor(int64_t v);
    [[nodiscard]] int64_t outlineColor() const { return m_outlineColor; }
    void setOutlineColor(int64_t v);

private:
    int64_t m_fillColor = 0x00FFFF;
    int64_t m_outlineColor = 0x000000;
};

} // namespace runtime
