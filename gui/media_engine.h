#pragma once
// The engine behind the media player control: Qt Multimedia, with the video shown inside the
// control's rectangle and play states reported with the numbers the control uses.
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QPointer>
#include <string>

#include "gui/media_surface.h"
#include "runtime/engines.h"

class QWidget;

namespace runtime {
class MediaPlayer;
}

namespace gui {

class Session;

class QtMediaEngine : public QObject, public runtime::MediaEngine {
public:
    QtMediaEngine(Session& session, runtime::MediaPlayer& player);
    ~QtMediaEngine() override;

    // Setting an address starts playing it, as the control does by itself.
    void setUrl(const std::string& url) override;
    void close() override;
    void play() override;
    void stop() override;
    void pause() override;
    double position() const override;
    double duration() const override;
    void setPosition(double seconds) override;
    void setVolume(int percent) override;
    void setMute(bool mute) override;

    // The widget showing the video with the control's bar, created on first request; owned
    // by the engine.
    QWidget* videoWidget();
    // Qt's player, for what it knows of the medium (its tags and cover).
    const QMediaPlayer& media() const { return m_media; }
    // The surface, when it has been created.
    MediaSurface* surface() const { return m_surface; }

    // The play state for a state of Qt's player, or nothing when it is not reported.
    static std::optional<int> playStateOf(
        QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status);

private:
    void report(int state);
    void stateChanged();
    void refreshBar();
    void seekWhenReady();
    // The song's title, artist, album and cover in the video area while a medium without
    // video plays.
    void showSongCard();

    Session& m_session;
    runtime::MediaPlayer& m_player;
    QMediaPlayer m_media;
    QAudioOutput m_audio;
    QPointer<MediaSurface> m_surface;
    int m_reported = runtime::PlayUndefined;
    // Set while the engine itself stops the medium (a new address, close): that stop is not
    // a medium that ended, and the windows must not take it for one.
    bool m_quietStop = false;
    // A position asked for before the medium could seek, in ms (-1 when none).
    qint64 m_pendingSeek = -1;
};

} // namespace gui
