#pragma once
// The engines behind the browser and media player controls. The front end supplies real
// ones; without it, recording engines stand in (they remember what was asked of them).
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace runtime {

// An element of a page as the windows read it: its absolute address and its text.
struct BrowserLink {
    std::string href;
    std::string text;
};

// What an engine reports back to its browser control. Engines call these on the UI thread.
class BrowserEvents {
public:
    virtual ~BrowserEvents() = default;
    // A page asked to open a new window; setting cancel keeps it from opening.
    virtual void newWindowRequested(const std::string& url, bool& cancel) = 0;
    // A navigation is about to start.
    virtual void beforeNavigate(const std::string& url) = 0;
    // A download (page or frame) finished.
    virtual void downloadComplete() = 0;
    // The document finished loading.
    virtual void documentComplete(const std::string& url) = 0;
};

// A web browser engine: loads and shows pages, and lets the windows read them.
class BrowserEngine {
public:
    virtual ~BrowserEngine() = default;
    virtual void navigate(const std::string& url) = 0;
    // Replaces the current document with this HTML text.
    virtual void write(const std::string& html) = 0;
    // The document location's reload, with the argument given.
    virtual void reload(const std::string& argument) = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;
    // True while a page is loading.
    [[nodiscard]] virtual bool busy() const = 0;
    // Silent: no script error or script dialogs.
    virtual void setSilent(bool silent) = 0;
    // The document body's scroll attribute ("no" turns scrolling off).
    virtual void setBodyScroll(const std::string& value) = 0;
    [[nodiscard]] virtual std::string bodyScroll() const = 0;
    [[nodiscard]] virtual std::string location() const = 0;
    // The current document as HTML text.
    [[nodiscard]] virtual std::string documentText() const = 0;
    // The anchors of the document in document order, addresses absolute.
    [[nodiscard]] virtual std::vector<BrowserLink> links() const = 0;
    // The images of the document in document order, addresses absolute.
    [[nodiscard]] virtual std::vector<BrowserLink> images() const = 0;
    // The A and IMG elements of the document together, in document order (an anchor gives
    // its href, an image its image address). Engines that cannot tell the order give the
    // links, then the images.
    [[nodiscard]] virtual std::vector<BrowserLink> linksAndImages() const
    {
        std::vector<BrowserLink> all = links();
        for (auto& image : images())
            all.push_back(std::move(image));
        return all;
    }
    // The href of the document's active element, or an empty text.
    [[nodiscard]] virtual std::string activeElementHref() const = 0;
    // Whether pages can embed the Flash player (an object of its class id plays).
    [[nodiscard]] virtual bool supportsFlash() const { return false; }
};

// A media engine: plays one address at a time and reports its play state.
// Songs' loudness from their ReplayGain tags: left as they are, by the track's gain, or by the
// album's (the songs of one album keep their differences).
enum class ReplayGain { Off, Track, Album };

// The equalizer's ten bands, their centres in Hz, and the gain range of each in dB.
inline constexpr int kEqualizerBands = 10;
inline constexpr int kEqualizerHz[kEqualizerBands] = { 31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000 };
inline constexpr int kEqualizerMaxDb = 12;
using EqualizerGains = std::array<int, kEqualizerBands>;

class MediaEngine {
public:
    virtual ~MediaEngine() = default;
    virtual void setUrl(const std::string& url) = 0;
    virtual void close() = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;
    // Where the medium is and how long it lasts, in seconds (0 while unknown).
    [[nodiscard]] virtual double position() const = 0;
    [[nodiscard]] virtual double duration() const = 0;
    virtual void setPosition(double seconds) = 0;
    // Loudness 0 to 100, and muting, which keeps the loudness.
    virtual void setVolume(int percent) = 0;
    virtual void setMute(bool mute) = 0;
    // Playing speed (1 is normal), the pitch kept.
    virtual void setRate(double rate) = 0;
    // How loud songs are made from their ReplayGain tags.
    virtual void setReplayGain(ReplayGain mode) = 0;
    // The equalizer's gain of each band in dB (all 0: the sound as it is).
    virtual void setEqualizer(const EqualizerGains& gains) = 0;
    // The medium that will follow the one playing when it ends (empty: none known), so its
    // first sample can follow the last one without a gap.
    virtual void setNext(const std::string& url) = 0;
    // The subtitle of the medium playing: kSubtitleAuto, kSubtitleNone, "track:N" or the path
    // of a subtitle file.
    virtual void setSubtitle(const std::string& choice) = 0;
};

// The subtitle choices besides a track or a file.
inline constexpr const char* kSubtitleAuto = "";
inline constexpr const char* kSubtitleNone = "no";

// The playing speeds a player offers.
inline constexpr double kMinRate = 0.5;
inline constexpr double kMaxRate = 3.0;

// Play states as the media player control numbers them.
enum PlayState {
    PlayUndefined = 0,
    PlayStopped = 1,
    PlayPaused = 2,
    PlayPlaying = 3,
    PlayBuffering = 6,
    PlayWaiting = 7,
    PlayEnded = 8,
    PlayReady = 10,
};

// Stands in for a browser: remembers the address and the written document, never busy.
class RecordingBrowserEngine : public BrowserEngine {
public:
    void navigate(const std::string& url) override;
    void write(const std::string& html) override;
    void reload(const std::string&) override { }
    void refresh() override { }
    void stop() override { }
    [[nodiscard]] bool busy() const override { return false; }
    void setSilent(bool) override { }
    void setBodyScroll(const std::string& value) override { m_scroll = value; }
    [[nodiscard]] std::string bodyScroll() const override { return m_scroll; }
    [[nodiscard]] std::string location() const override { return m_location; }
    [[nodiscard]] std::string documentText() const override { return m_document; }
    [[nodiscard]] std::vector<BrowserLink> links() const override { return {}; }
    [[nodiscard]] std::vector<BrowserLink> images() const override { return {}; }
    [[nodiscard]] std::string activeElementHref() const override { return {}; }
    // Pages are only recorded, so the designed Flash pages are what it is given.
    [[nodiscard]] bool supportsFlash() const override { return true; }

private:
    std::string m_location;
    std::string m_document;
    std::string m_scroll;
};

// Stands in for a media player: plays nothing; the control keeps the log of calls. It keeps
// a position inside a duration the caller sets, as a medium of that length would.
class RecordingMediaEngine : public MediaEngine {
public:
    void setUrl(const std::string&) override { m_position = 0; }
    void close() override { m_position = 0; }
    void play() override { }
    void stop() override { m_position = 0; }
    void pause() override { }
    [[nodiscard]] double position() const override { return m_position; }
    [[nodiscard]] double duration() const override { return m_duration; }
    void setPosition(double seconds) override;
    void setVolume(int) override { }
    void setMute(bool) override { }
    void setRate(double) override { }
    void setReplayGain(ReplayGain) override { }
    void setEqualizer(const EqualizerGains&) override { }
    void setNext(const std::string&) override { }
    void setSubtitle(const std::string&) override { }
    // The length of the medium "loaded" (what a real engine learns from the file).
    void setDuration(double seconds) { m_duration = seconds; }

private:
    double m_position = 0;
    double m_duration = 0;
};

} // namespace runtime
