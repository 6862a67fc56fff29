#include "gui/mpris_state.h"

#include <QCryptographicHash>
#include <QDBusObjectPath>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QUrl>
#include <cmath>

#include "gui/look.h"
#include "gui/media_engine.h"
#include "gui/session.h"
#include "gui/song_tags.h"
#include "lyrics/lrc.h"
#include "platform/media_remote.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

bool isPlaying(int state)
{
    return state == runtime::PlayPlaying || state == runtime::PlayBuffering || state == runtime::PlayWaiting;
}

QString playbackStatusOf(const runtime::MediaPlayer* player)
{
    if (!player)
        return QStringLiteral("Stopped");
    if (isPlaying(player->playState()))
        return QStringLiteral("Playing");
    return player->playState() == runtime::PlayPaused ? QStringLiteral("Paused") : QStringLiteral("Stopped");
}

// The address of a medium as a URL: local paths become file URLs.
QUrl urlOf(const QString& medium)
{
    return medium.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(medium) : QUrl(medium);
}

MediaTags tagsOf(const Session& session, const runtime::MediaPlayer* player)
{
    const MpvMediaEngine* engine = player ? session.mediaEngineOf(*player) : nullptr;
    return engine ? engine->tags() : MediaTags();
}

// A cover picture beside a local medium, as music folders keep one.
QString coverBeside(const QString& medium)
{
    if (!medium.startsWith(QLatin1Char('/')))
        return {};
    const QDir folder = QFileInfo(medium).dir();
    const QStringList found = folder.entryList(
        { QStringLiteral("cover.jpg"), QStringLiteral("cover.png"), QStringLiteral("folder.jpg"),
            QStringLiteral("folder.png"), QStringLiteral("front.jpg"), QStringLiteral("front.png") },
        QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    return found.isEmpty() ? QString() : folder.filePath(found.first());
}

QString artUrlOf(const QString& medium, const MediaTags& meta, MprisCover& cover)
{
    const QImage& picture = meta.cover;
    // The embedded picture may arrive after the medium started: look again until found.
    if (medium == cover.medium && (!cover.artUrl.isEmpty() || picture.isNull()))
        return cover.artUrl;
    cover.medium = medium;
    cover.artUrl.clear();
    if (!picture.isNull() && !cover.folder.isEmpty() && QDir().mkpath(cover.folder)) {
        const QString name = QString::fromLatin1(
            QCryptographicHash::hash(medium.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
        const QString file = QDir(cover.folder).filePath(name + QStringLiteral(".png"));
        if (QFileInfo::exists(file) || picture.save(file, "PNG"))
            cover.artUrl = QUrl::fromLocalFile(file).toString();
    }
    if (cover.artUrl.isEmpty()) {
        const QString beside = coverBeside(medium);
        if (!beside.isEmpty())
            cover.artUrl = QUrl::fromLocalFile(beside).toString();
    }
    return cover.artUrl;
}

QVariantMap metadataOf(const Session& session, platform::MediaRemote& remote, MprisCover& cover)
{
    QVariantMap out;
    runtime::MediaPlayer* player = remote.player();
    const QString medium = player ? qs(player->url()) : QString();
    out.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(mprisTrackId(remote))));
    if (!player || medium.isEmpty())
        return out;
    const MediaTags meta = tagsOf(session, player);
    const double length = player->duration();
    if (length > 0)
        out.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(std::llround(length * 1e6)));
    const platform::SongTags& own = songTagsOf(medium);
    out.insert(QStringLiteral("xesam:title"),
        firstText({ qs(own.title), meta.title, qs(remote.track().title), urlOf(medium).fileName() }));
    const QString artist = firstText({ qs(own.artist), meta.artist });
    if (!artist.isEmpty())
        out.insert(QStringLiteral("xesam:artist"), QStringList { artist });
    const QString album = firstText({ qs(own.album), meta.album });
    if (!album.isEmpty())
        out.insert(QStringLiteral("xesam:album"), album);
    out.insert(QStringLiteral("xesam:url"), urlOf(medium).toString());
    const std::string lyricsText = remote.track().lyrics;
    if (!lyricsText.empty())
        out.insert(QStringLiteral("xesam:asText"), qs(lyrics::plainText(lyrics::parseLrc(lyricsText))));
    const QString art = artUrlOf(medium, meta, cover);
    if (!art.isEmpty())
        out.insert(QStringLiteral("mpris:artUrl"), art);
    return out;
}

} // namespace

QString desktopEntryName()
{
    return QStringLiteral("cn.zelvora.Zelvora");
}

QString loopStatusOf(const platform::PlayOrder& order)
{
    switch (order.repeat) {
    case platform::Repeat::Track:
        return QStringLiteral("Track");
    case platform::Repeat::Playlist:
        return QStringLiteral("Playlist");
    case platform::Repeat::None:
        break;
    }
    return QStringLiteral("None");
}

bool orderForLoopStatus(const QString& status, platform::PlayOrder& order)
{
    if (status == QLatin1String("Track"))
        order.repeat = platform::Repeat::Track;
    else if (status == QLatin1String("Playlist"))
        order.repeat = platform::Repeat::Playlist;
    else if (status == QLatin1String("None"))
        order.repeat = platform::Repeat::None;
    else
        return false;
    order.shuffle = order.shuffle && order.repeat == platform::Repeat::Playlist;
    return true;
}

QString mprisTrackId(platform::MediaRemote& remote)
{
    runtime::MediaPlayer* player = remote.player();
    if (!player || player->url().empty())
        return kMprisNoTrack;
    // An entry of the list has its place as id; a medium from elsewhere a digest of its address.
    const int index = remote.track().index;
    if (index >= 0)
        return QStringLiteral("/cn/zelvora/Zelvora/track/%1").arg(index);
    return QStringLiteral("/cn/zelvora/Zelvora/medium/")
        + QString::fromLatin1(
            QCryptographicHash::hash(QByteArray::fromStdString(player->url()), QCryptographicHash::Sha1)
                .toHex()
                .left(16));
}

qlonglong mprisPosition(platform::MediaRemote& remote)
{
    runtime::MediaPlayer* player = remote.player();
    return player ? static_cast<qlonglong>(std::llround(std::max(player->position(), 0.0) * 1e6)) : 0;
}

QVariantMap mprisProperties(
    const Session& session, platform::MediaRemote& remote, const QString& interfaceName, MprisCover& cover)
{
    if (interfaceName == kMprisRoot) {
        return {
            { QStringLiteral("CanQuit"), true },
            { QStringLiteral("CanRaise"), true },
            { QStringLiteral("CanSetFullscreen"), false },
            { QStringLiteral("Fullscreen"), false },
            { QStringLiteral("HasTrackList"), false },
            { QStringLiteral("Identity"), QStringLiteral("Zelvora") },
            { QStringLiteral("DesktopEntry"), desktopEntryName() },
            { QStringLiteral("SupportedUriSchemes"),
                QStringList { QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https") } },
            { QStringLiteral("SupportedMimeTypes"),
                QStringList { QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-wav"),
                    QStringLiteral("audio/flac"), QStringLiteral("audio/ogg"), QStringLiteral("video/mp4"),
                    QStringLiteral("video/x-matroska"), QStringLiteral("video/x-msvideo"),
                    QStringLiteral("video/x-flv") } },
        };
    }
    if (interfaceName != kMprisPlayer)
        return {};
    runtime::MediaPlayer* player = remote.player();
    const bool hasMedium = player && !player->url().empty();
    const platform::PlayOrder order = remote.playOrder();
    return {
        { QStringLiteral("PlaybackStatus"), playbackStatusOf(player) },
        { QStringLiteral("LoopStatus"), loopStatusOf(order) },
        { QStringLiteral("Shuffle"), order.shuffle },
        { QStringLiteral("Rate"), player ? player->rate() : 1.0 },
        { QStringLiteral("MinimumRate"), runtime::kMinRate },
        { QStringLiteral("MaximumRate"), runtime::kMaxRate },
        { QStringLiteral("Metadata"), metadataOf(session, remote, cover) },
        { QStringLiteral("Volume"), player ? player->volume() / 100.0 : 1.0 },
        { QStringLiteral("CanGoNext"), remote.canStep(1) },
        { QStringLiteral("CanGoPrevious"), remote.canStep(-1) },
        { QStringLiteral("CanPlay"), hasMedium },
        { QStringLiteral("CanPause"), hasMedium },
        { QStringLiteral("CanSeek"), hasMedium && player->duration() > 0 },
        { QStringLiteral("CanControl"), true },
    };
}

} // namespace gui
