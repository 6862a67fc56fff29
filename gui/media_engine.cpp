#include "gui/media_engine.h"

#include <QUrl>

#include "gui/look.h"
#include "gui/session.h"
#include "gui/video_surface.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// A path or an address as the control holds it.
QUrl mediaUrl(const std::string& address)
{
    const QString text = qs(address);
    if (text.startsWith(QLatin1Char('/')))
        return QUrl::fromLocalFile(text);
    return QUrl::fromUserInput(text);
}

} // namespace

QtMediaEngine::QtMediaEngine(Session& session, runtime::MediaPlayer& player)
    : m_session(session)
    , m_player(player)
{
    m_media.setAudioOutput(&m_audio);
    connect(&m_media, &QMediaPlayer::playbackStateChanged, this, [this] { stateChanged(); });
    connect(&m_media, &QMediaPlayer::mediaStatusChanged, this, [this] { stateChanged(); });
}

QtMediaEngine::~QtMediaEngine()
{
    m_media.disconnect(this);
    m_media.stop();
    if (m_video) {
        m_video->hide();
        m_video->setParent(nullptr);
        // The video widget may be inside one of its own events (its window unloaded itself).
        m_video->deleteLater();
    }
}

std::optional<int> QtMediaEngine::playStateOf(
    QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status)
{
    if (status == QMediaPlayer::EndOfMedia)
        return runtime::PlayStopped;
    if (status == QMediaPlayer::InvalidMedia)
        // A medium that cannot be played is ready for the next address, not stopped: a list
        // of unplayable files must not skip through itself.
        return runtime::PlayReady;
    switch (state) {
    case QMediaPlayer::PlayingState:
        if (status == QMediaPlayer::BufferingMedia || status == QMediaPlayer::StalledMedia)
            return runtime::PlayBuffering;
        if (status == QMediaPlayer::LoadingMedia)
            return runtime::PlayWaiting;
        return runtime::PlayPlaying;
    case QMediaPlayer::PausedState:
        return runtime::PlayPaused;
    case QMediaPlayer::StoppedState:
        // Qt stops first and tells why a moment later (the medium ended, or was stopped and
        // is loaded again); the stop is reported once the reason is known.
        if (status == QMediaPlayer::LoadedMedia)
            return runtime::PlayStopped;
        return std::nullopt;
    }
    return std::nullopt;
}

void QtMediaEngine::stateChanged()
{
    const auto state = playStateOf(m_media.playbackState(), m_media.mediaStatus());
    if (!state)
        return;
    if (*state == runtime::PlayStopped && m_quietStop)
        return;
    if (*state != runtime::PlayStopped)
        m_quietStop = false;
    // The end of a medium is reported as ended, then stopped, as the control does.
    if (*state == runtime::PlayStopped && m_media.mediaStatus() == QMediaPlayer::EndOfMedia)
        report(runtime::PlayEnded);
    report(*state);
}

void QtMediaEngine::report(int state)
{
    if (state == m_reported)
        return;
    m_reported = state;
    m_session.run([this, state] { m_player.reportPlayState(state); });
}

void QtMediaEngine::setUrl(const std::string& url)
{
    m_quietStop = true;
    m_reported = runtime::PlayUndefined;
    m_media.setSource(url.empty() ? QUrl() : mediaUrl(url));
    if (!url.empty())
        m_media.play();
}

void QtMediaEngine::close()
{
    m_quietStop = true;
    m_media.stop();
    m_media.setSource(QUrl());
    m_reported = runtime::PlayUndefined;
}

void QtMediaEngine::play()
{
    m_quietStop = false;
    m_media.play();
}

void QtMediaEngine::stop()
{
    m_quietStop = false;
    m_media.stop();
}

QWidget* QtMediaEngine::videoWidget()
{
    if (!m_video) {
        m_video = new VideoSurface();
        m_media.setVideoSink(m_video->videoSink());
    }
    return m_video;
}

} // namespace gui
