#pragma once
// One desktop program per user session: the first start listens on a local socket named
// after the user; a later start hands its files (or just its wish to be seen) to it and ends.
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
    // The socket's name: ZELVORA_INSTANCE when set (tests use their own), else "zelvora-" and
    // the user's name.
    static QString defaultKey();
    // Hands files to a program listening on key; true once it confirmed them. False at once
    // when none listens.
    static bool handOver(const QString& key, const QStringList& files, int timeoutMs = 5000);

    explicit SingleInstance(QString key = defaultKey());
    ~SingleInstance() override;
    // Starts listening (replacing a socket a crashed program left); every hand-over then calls
    // onFiles on the event loop. False when the socket cannot be made.
    bool listen(std::function<void(const QStringList&)> onFiles);

private:
    QString m_key;
    QLocalServer* m_server = nullptr;
    std::function<void(const QStringList&)> m_onFiles;
    // What each connected client has sent so far.
    QHash<QLocalSocket*, QByteArray> m_pending;
};

} // namespace gui
