#pragma once
// One desktop program per user session: the first start listens on a local socket in the
// user's private socket folder; a later start hands its files (or just its wish to be seen)
// to it and ends. Both ends deal only with a process of the same user.
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace gui {

class SingleInstance : public QObject {
public:
    // The socket's name: ZELVORA_INSTANCE when set (tests use their own), else "zelvora".
    static QString defaultKey();
    // Where the socket named key lives, in the user's private socket folder; empty (with the
    // reason on the error output) when there is no such folder that is safe to use.
    static QString socketPath(const QString& key);
    // Hands files to a program of this user listening on key; true once it confirmed them.
    // False at once when none listens or another user's program does.
    static bool handOver(const QString& key, const QStringList& files, int timeoutMs = 5000);

    explicit SingleInstance(const QString& key = defaultKey());
    ~SingleInstance() override;
    // Starts listening (replacing a socket a crashed program left); every hand-over from this
    // user then calls onFiles on the event loop. False when the socket cannot be made.
    bool listen(std::function<void(const QStringList&)> onFiles);

private:
    QString m_path;
    QLocalServer* m_server = nullptr;
    std::function<void(const QStringList&)> m_onFiles;
    // What each connected client has sent so far.
    QHash<QLocalSocket*, QByteArray> m_pending;
};

} // namespace gui
