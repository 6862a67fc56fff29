#pragma once
// The program as a media player of the desktop (MPRIS 2.2 on the session bus): media keys,
// the panel's player widget and playerctl play, pause, step and seek through it, and see
// what plays. Without a session bus the program runs without it.
#include <QDBusVirtualObject>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "gui/mpris_state.h"

namespace platform {
class MediaRemote;
}
namespace runtime {
class MediaPlayer;
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
    [[nodiscard]] QString serviceName() const { return m_service; }

    [[nodiscard]] QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    Mpris(Session& session, platform::MediaRemote& remote, const QString& service);
    // Compares the properties with those last announced and announces the changed ones.
    void announceChanges();
    void announceSeek();
    // A method of the interfaces: its arguments (name and D-Bus type) and what it does, which
    // gives an error text for arguments it refuses and an empty one otherwise.
    struct Method {
        QString interfaceName;
        const char* name;
        std::vector<std::pair<const char*, const char*>> arguments;
        QString (Mpris::*run)(const QList<QVariant>& args);
    };
    static const std::vector<Method>& methods();
    QDBusMessage call(const QDBusMessage& message);
    QString raise(const QList<QVariant>& args);
    QString quit(const QList<QVariant>& args);
    QString next(const QList<QVariant>& args);
    QString previous(const QList<QVariant>& args);
    QString play(const QList<QVariant>& args);
    QString pause(const QList<QVariant>& args);
    QString playPause(const QList<QVariant>& args);
    QString stop(const QList<QVariant>& args);
    QString seek(const QList<QVariant>& args);
    QString setPosition(const QList<QVariant>& args);
    QString openUri(const QList<QVariant>& args);
    // Runs an action on the control when it holds a medium.
    void onPlayer(const std::function<void(runtime::MediaPlayer&)>& action);
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
