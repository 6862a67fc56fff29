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
    bool silent() const { return m_silent; }
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
    bool hasEngine() const { return m_engine != nullptr; }
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

    std::optional<std::string> property(std::string_view name) const override;
    std::string defaultProperty() const override { return "location"; }

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

    const std::string& url() const { return m_url; }
    void setUrl(const std::string& url);
    void close();
    void play();
    void stop();
    void pause();
    int playState() const { return m_playState; }

    // The control's own bar, as the person uses it. Its stop is told apart from a medium
    // that ended: the control remembers it until the next address or play, and the windows
    // read it when the stopped state comes.
    void playOrPause();
    void stopByUser();
    bool stoppedByUser() const { return m_stoppedByUser; }

    // Where the medium is and how long it lasts, in seconds (0 without a medium).
    double position() const;
    double duration() const;
    void seek(double seconds);
    // Loudness 0 to 100 and muting; kept by the control and given to every engine.
    int volume() const { return m_volume; }
    void setVolume(int percent);
    bool mute() const { return m_mute; }
    void setMute(bool mute);

    MediaEngine& engine();
    // Whether an engine exists yet (the front end shows its video only once there is one).
    bool hasEngine() const { return m_engine != nullptr; }
    void setEngine(std::unique_ptr<MediaEngine> engine);
    CallLog& log() { return m_log; }

    // The engine reports a new play state (PlayStopped = 1 also at the end of a medium).
    void reportPlayState(int state);
    std::function<void(int state)> onPlayStateChange;
    // The engine reports that it has no decoder for the medium (or the medium is not one).
    void reportUndecodable();
    std::function<void()> onUndecodable;
    // The medium is about to be left (a new address, close, the bar's stop): the engine still
    // holds its position.
    std::function<void()> onLeave;
    // The loudness or muting changed.
    std::function<void()> onSoundChange;

    std::optional<std::string> property(std::string_view name) const override;
    std::string defaultProperty() const override { return "url"; }

private:
    // Tells the window that the current medium is being left.
    void leave();

    std::unique_ptr<MediaEngine> m_engine;
    CallLog m_log;
    std::string m_url;
    int m_playState = PlayUndefined;
    bool m_stoppedByUser = false;
    int m_volume = 100;
    bool m_mute = false;
};

} // namespace runtime
