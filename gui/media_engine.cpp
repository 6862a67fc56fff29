#include "gui/media_engine.h"

#include <QAudio>
#include <QFileInfo>
#include <QMediaMetaData>
#include <QUrl>
#include <cmath>

#include "gui/look.h"
#include "gui/media_engine_decoders.h"
#include "gui/session.h"
#include "gui/song_tags.h"
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
    // Qt has started GStreamer with its first player.
    batchDecodedSound();
    m_media.setAudioOutput(&m_audio);
    connect(&m_media, &QMediaPlayer::playbackStateChanged, this, [this] { stateChanged(); });
    connect(&m_media, &QMediaPlayer::mediaStatusChanged, this, [this] {
        seekWhenReady();
        stateChanged();
    });
    connect(&m_media, &QMediaPlayer::seekableChanged, this, [this] { seekWhenReady(); });
    for (auto signal : { &QMediaPlayer::positionChanged, &QMediaPlayer::durationChanged })
        connect(&m_media, signal, this, [this] { refreshBar(); });
    // A medium without a decoder (GStreamer reports a missing plug-in as a format error).
    connect(
        &m_media, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& text) {
            const bool missingPlugin = text.contains(QLatin1String("plug-in"), Qt::CaseInsensitive)
                || text.contains(QLatin1String("decoder"), Qt::CaseInsensitive);
            if (error == QMediaPlayer::FormatError || missingPlugin)
                m_session.run([this] { m_player.reportUndecodable(); });
        });
    connect(&m_media, &QMediaPlayer::hasVideoChanged, this, [this](bool video) {
        if (m_surface)
            m_surface->bar()->setHasVideo(video);
        showSongCard();
    });
    connect(&m_media, &QMediaPlayer::metaDataChanged, this, [this] { showSongCard(); });
    connect(&m_media, &QMediaPlayer::sourceChanged, this, [this] { showSongCard(); });
}

QtMediaEngine::~QtMediaEngine()
{
    m_media.disconnect(this);
    m_media.stop();
    if (m_surface) {
        m_surface->bar()->detach();
        m_surface->setFullScreen(false);
        m_surface->hide();
        m_surface->setParent(nullptr);
        // The surface may be inside one of its own events (its window unloaded itself).
        m_surface->deleteLater();
    }
}

void QtMediaEngine::refreshBar()
{
    if (m_surface)
        m_surface->bar()->refresh();
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
    refreshBar();
}

void QtMediaEngine::setUrl(const std::string& url)
{
    m_quietStop = true;
    m_reported = runtime::PlayUndefined;
    m_pendingSeek = -1;
    m_media.setSource(url.empty() ? QUrl() : mediaUrl(url));
    if (!url.empty())
        m_media.play();
}

void QtMediaEngine::close()
{
    m_quietStop = true;
    m_pendingSeek = -1;
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

void QtMediaEngine::pause()
{
    m_media.pause();
}

double QtMediaEngine::position() const
{
    return static_cast<double>(m_media.position()) / 1000.0;
}

double QtMediaEngine::duration() const
{
    return static_cast<double>(m_media.duration()) / 1000.0;
}

void QtMediaEngine::setPosition(double seconds)
{
    m_pendingSeek = static_cast<qint64>(std::llround(seconds * 1000));
    seekWhenReady();
}

void QtMediaEngine::seekWhenReady()
{
    // A medium that is still loading drops a seek: it is made once the medium can take it
    // (a video that goes on where it was left is sought as it starts).
    const auto status = m_media.mediaStatus();
    if (m_pendingSeek < 0 || !m_media.isSeekable() || status == QMediaPlayer::LoadingMedia
        || status == QMediaPlayer::NoMedia)
        return;
    m_media.setPosition(m_pendingSeek);
    m_pendingSeek = -1;
}

void QtMediaEngine::setVolume(int percent)
{
    // The slider is heard as even steps of loudness.
    m_audio.setVolume(static_cast<float>(
        QAudio::convertVolume(percent / 100.0, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale)));
}

void QtMediaEngine::setMute(bool mute)
{
    m_audio.setMuted(mute);
}

void QtMediaEngine::showSongCard()
{
    if (!m_surface || !m_surface->video())
        return;
    SongCard card;
    const QUrl source = m_media.source();
    if (!source.isEmpty() && !m_media.hasVideo()) {
        const QMediaMetaData tags = m_media.metaData();
        const platform::SongTags& own = songTagsOf(source.toString());
        card.lines << firstText({ QString::fromStdString(own.title), tags.stringValue(QMediaMetaData::Title),
            QFileInfo(source.path()).fileName() });
        const QString artist = firstText(
            { QString::fromStdString(own.artist), tags.stringValue(QMediaMetaData::ContributingArtist),
                tags.stringValue(QMediaMetaData::AlbumArtist) });
        const QString album
            = firstText({ QString::fromStdString(own.album), tags.stringValue(QMediaMetaData::AlbumTitle) });
        for (const QString& line : { artist, album }) {
            if (!line.isEmpty())
                card.lines << line;
        }
        for (auto key : { QMediaMetaData::CoverArtImage, QMediaMetaData::ThumbnailImage }) {
            if (card.cover.isNull())
                card.cover = tags.value(key).value<QImage>();
        }
        // The skin's colour, which the window gives the control.
        card.background = toQColor(m_player.backColor());
    }
    m_surface->video()->setSongCard(std::move(card));
}

QWidget* QtMediaEngine::videoWidget()
{
    if (!m_surface) {
        auto* video = new VideoSurface();
        m_media.setVideoSink(video->videoSink());
        m_surface = new MediaSurface(m_session, m_player, video);
        m_surface->bar()->setHasVideo(m_media.hasVideo());
        showSongCard();
    }
    return m_surface;
}

} // namespace gui
