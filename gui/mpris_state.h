#pragma once
// What the desktop's player widgets see of the program: the properties of the two MPRIS
// interfaces, read from the player window's media control and its medium.
#include <QString>
#include <QVariantMap>

namespace platform {
class MediaRemote;
struct PlayOrder;
} // namespace platform

namespace gui {

class Session;

inline const QString kMprisRoot = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString kMprisPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
// The track id of "no track".
inline const QString kMprisNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// The name of the desktop file the package installs, without ".desktop".
QString desktopEntryName();

// LoopStatus and Shuffle for a play order, and back.
QString loopStatusOf(const platform::PlayOrder& order);
// The order a LoopStatus value asks for (nothing for a value MPRIS does not know); a shuffle
// survives only a loop over the list, which is how the random mode goes on.
bool orderForLoopStatus(const QString& status, platform::PlayOrder& order);

// The cover of the medium: its embedded picture (written once into folder) or a cover file
// beside it. Remembers the last medium's so it is looked up once per medium.
struct MprisCover {
    QString folder;
    QString medium;
    QString artUrl;
};

// The properties of one interface as they are now, the medium's tags read from the engine
// the session made for the player. The player's Position is left out (it changes all the
// time and is read on request).
QVariantMap mprisProperties(
    const Session& session, platform::MediaRemote& remote, const QString& interfaceName, MprisCover& cover);
// The player's position in microseconds.
qlonglong mprisPosition(platform::MediaRemote& remote);
// The current track's id (kMprisNoTrack without one).
QString mprisTrackId(platform::MediaRemote& remote);

} // namespace gui
