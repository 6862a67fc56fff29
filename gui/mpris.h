#pragma once
// The program as a media player of the desktop (MPRIS 2.2 on the session bus): media keys,
// the panel's player widget and playerctl play, pause, step and seek through it, and see
// what plays. Without a session bus the program runs without it.
#include <QDBusVirtualObject>
#include <QVariantMap>
#include <memory>

#include "gui/mpris_state.h"

namespace platform {
class MediaRemote;
}

namespace gui {

class Session;

class Mpris : public QDBusVirtualObject {
public:
    // Registers the player on the session bus and follows the session's updates; nullptr
    // without a session bus or without the program's media remote.
    static std::unique_ptr<Mpris> start(Session& session);
    ~Mpris() override;

    // The bus name it holds.
    QString serviceName() const { return m_service; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    Mpris(Session& session, platform::MediaRemote& remote, const QString& service);
    // Compares the properties with those last announced and announces the changed ones.
    void announceChanges();
    void announceSeek();
    QDBusMessage call(const QDBusMessage& message);
    QDBusMessage callProperties(const QDBusMessage& message);
    bool setProperty(const QString& interfaceName, const QString& name, const QVariant& value);
    // Runs an action on the program as the person's input does.
    void act(const std::function<void()>& action);

    Session& m_session;
    platform::MediaRemote& m_remote;
    QString m_service;
    MprisCover m_cover;
    QVariantMap m_root;
    QVariantMap m_player;
    // Where the medium was at the last update, and when, to tell a seek from playing on.
    qlonglong m_lastPosition = 0;
    qint64 m_lastTime = 0;
};

} // namespace gui
