#pragma once
// The engine behind the media player control: libmpv, with the video drawn inside the
// control's rectangle and play states reported with the numbers the control uses. Whatever
// FFmpeg reads plays. mpv's events reach the interface thread through its wake-up callback and
// a queued call; the interface thread only queues commands and never waits for mpv.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/later_ptr.h"
#include "gui/media_surface.h"
#include "gui/render_choice.h"
#include "runtime/engines.h"

struct mpv_handle;
struct mpv_event;

namespace runtime {
class MediaPlayer;
}

namespace gui {

class FrameRenderer;
class LyricsFollower;
class Session;

// What the medium says of itself: its tags and its cover.
struct MediaTags {
    QString title;
    QString artist;
    QString album;
    QImage cover;
};

// A subtitle track the medium offers (its own or a file loaded beside it).
struct SubtitleTrack {
    int id = 0;
    QString name;
    bool selected = false;
};

// How a medium's end reaches the control: the states reported, in order, and whether the
// medium could not be played.
struct MediaEnd {
    std::vector<int> states;
    bool undecodable = false;
};

class MpvMediaEngine : public QObject, public runtime::MediaEngine {
public:
    MpvMediaEngine(Session& session, runtime::MediaPlayer& player);
    ~MpvMediaEngine() override;

    // Setting an address starts playing it, as the control does by itself.
    void setUrl(const std::string& url) override;
    void close() override;
    void play() override;
    void stop() override;
    void pause() override;
    [[nodiscard]] double position() const override { return m_position; }
    [[nodiscard]] double duration() const override { return m_duration; }
    void setPosition(double seconds) override;
    void setVolume(int percent) override;
    void setMute(bool mute) override;
    void setRate(double rate) override;
    void setReplayGain(runtime::ReplayGain mode) override;
    void setEqualizer(const runtime::EqualizerGains& gains) override;
    void setNext(const std::string& url) override;
    void setSubtitle(const std::string& choice) override;

    // The widget showing the video with the control's bar, created on first request; owned
    // by the engine.
    QWidget* videoWidget();
    // The surface, when it has been created.
    [[nodiscard]] MediaSurface* surface() const { return m_surface.get(); }
    [[nodiscard]] const MediaTags& tags() const { return m_tags; }
    // Whether the medium has a moving picture (a cover is not one).
    [[nodiscard]] bool hasVideo() const { return m_hasVideo; }
    // Whether a medium is loaded or loading.
    [[nodiscard]] bool active() const { return m_entry != 0 || m_pendingLoads > 0; }
    // The subtitle tracks of the medium playing.
    [[nodiscard]] const std::vector<SubtitleTrack>& subtitles() const { return m_subtitles; }
    // The person's choice of a subtitle: a track, none (id 0), or a file to load and show;
    // the control is told, so the choice is kept with the medium's place.
    void chooseSubtitle(int id);
    void loadSubtitle(const QString& path);
    // Whether mpv could be started at all.
    [[nodiscard]] bool ready() const { return m_mpv != nullptr; }
    // How the video is drawn ("opengl", "software"), or "none" when it cannot be.
    [[nodiscard]] const char* rendererName() const;

    // Called on the interface thread whenever the playing position moves (every frame or
    // sound block), with the position in seconds.
    void addPositionListener(QObject* owner, std::function<void(double)> listener);

    // How an end of a medium with mpv's reason (its end_file reason and error code) is
    // reported; quiet for a stop the engine made itself (a new address, close).
    static MediaEnd endOf(int reason, bool quiet);
    // The text for mpv's error code, as the player shows it after "无法播放此文件".
    static std::string reasonText(int error);

private:
    void configure();
    // Makes the renderer and gives it to the surface.
    void makeRenderer(RenderPath path);
    void drain();
    void handle(const mpv_event& event);
    void propertyChanged(const mpv_event& event);
    // The parts of handle() and propertyChanged() with more than a line or two to do.
    void fileStarted(const mpv_event& event);
    void preloadedTracksRead(const mpv_event& event);
    void positionChanged(double position);
    // The pause or caching flag changed (property says which).
    void waitingChanged(uint64_t property, bool on);
    // Whether the medium's picture is a cover; known is false when mpv has no answer.
    void albumArtChanged(bool albumArt, bool known);
    void fileEnded(const mpv_event& event);
    void report(int state);
    void refreshBar(bool always);
    void showSongCard();
    // The song card follows the lyrics to the line sung at the position.
    void followLyrics();
    // The medium's video track as mpv knows it now becomes what the surface shows.
    void applyVideoTrack();
    void askForCover();
    void command(std::initializer_list<const char*> args, uint64_t reply = 0);
    void setFlag(const char* name, bool value);
    void setNumber(const char* name, double value);
    void load(const std::string& url);
    void setText(const char* name, const std::string& value);
    // Puts the equalizer's filters with the gains into mpv's filter option.
    void installEqualizer();

    Session& m_session;
    runtime::MediaPlayer& m_player;
    mpv_handle* m_mpv = nullptr;
    // Made for the first medium with a picture (none before).
    std::unique_ptr<FrameRenderer> m_renderer;
    // The hook mpv holds a medium in before its outputs start, until the renderer is there.
    uint64_t m_preloadedHook = 0;
    // Let go when the engine ends: its window may have unloaded itself inside one of its events.
    LaterPtr<MediaSurface> m_surface;
    std::shared_ptr<std::atomic<bool>> m_drainQueued = std::make_shared<std::atomic<bool>>(false);
    int m_reported = runtime::PlayUndefined;
    // Loads asked for and not yet started; the entry that plays now (0 when none).
    int m_pendingLoads = 0;
    int64_t m_entry = 0;
    // Stops the engine made itself whose end has not come yet.
    int m_quietStops = 0;
    bool m_paused = false;
    bool m_buffering = false;
    bool m_hasVideo = false;
    // What mpv says of the video track now (a moving picture, a cover); whether the medium
    // playing is loaded (its tracks known).
    bool m_videoTrack = false;
    bool m_albumArt = false;
    bool m_loaded = false;
    double m_position = 0;
    double m_duration = 0;
    double m_rate = 1;
    // The gains the equalizer's filters have now; whether the filters are in place; whether
    // mpv's filter option still holds older gains than the filters (changed while playing).
    runtime::EqualizerGains m_gains {};
    bool m_equalizing = false;
    bool m_filterOptionOld = false;
    // A position asked for before the medium could seek (-1 when none).
    double m_pendingSeek = -1;
    // The quarter second the bar last showed.
    long long m_shownQuarter = -1;
    MediaTags m_tags;
    std::string m_url;
    // The medium put after the one playing in mpv's list; the one mpv went on to by itself
    // (until the control is given its address).
    std::string m_queuedNext;
    std::string m_advancedTo;
    std::vector<SubtitleTrack> m_subtitles;
    std::vector<std::pair<QPointer<QObject>, std::function<void(double)>>> m_positionListeners;
    std::unique_ptr<LyricsFollower> m_lyrics;
};

} // namespace gui
