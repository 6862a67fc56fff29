#include "gui/single_instance.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <cstdio>
#include <optional>
#include <utility>

#include "platform/single_user.h"

namespace gui {

namespace {

// A hand-over is the files' paths, each ended by a NUL, then one more NUL; the program
// answers "ok" once it has taken them. Paths may hold any byte but NUL.
QByteArray encodeFiles(const QStringList& files)
{
    QByteArray message;
    for (const QString& f : files) {
        message += f.toUtf8();
        message += '\0';
    }
    message += '\0';
    return message;
}

// The files of a complete message, or nothing while it is still arriving.
std::optional<QStringList> decodeFiles(const QByteArray& message)
{
    if (message == QByteArray(1, '\0'))
        return QStringList();
    if (message.size() < 2 || !message.endsWith(QByteArray(2, '\0')))
        return std::nullopt;
    QStringList files;
    for (const QByteArray& part : message.chopped(2).split('\0'))
        files << QString::fromUtf8(part);
    return files;
}

} // namespace

QString SingleInstance::defaultKey()
{
    const QString key = qEnvironmentVariable("ZELVORA_INSTANCE");
    return key.isEmpty() ? QStringLiteral("zelvora") : key;
}

QString SingleInstance::socketPath(const QString& key)
{
    const auto folder = platform::privateSocketFolder();
    if (!folder) {
        static bool told = false;
        if (!std::exchange(told, true))
            std::fprintf(stderr, "zelvora: no single-instance socket: %s\n", folder.error().c_str());
        return {};
    }
    return QString::fromStdString(*folder) + QLatin1Char('/') + key;
}

bool SingleInstance::handOver(const QString& key, const QStringList& files, int timeoutMs)
{
    const QString path = socketPath(key);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Sound: the file names go only to a program of this user.
    if (!platform::peerIsThisUser(static_cast<int>(socket.socketDescriptor())))
        return false;
    socket.write(encodeFiles(files));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (answer.size() < 2 && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    return answer.startsWith("ok");
}

SingleInstance::SingleInstance(const QString& key)
    : m_path(socketPath(key))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::listen(std::function<void(const QStringList&)> onFiles)
{
    m_onFiles = std::move(onFiles);
    if (m_path.isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path)) {
        // Nobody answered on it (the caller tried a hand-over first): a crashed program's
        // socket, or anything else in this user's private folder, which is removed.
        QLocalServer::removeServer(m_path);
        if (!m_server->listen(m_path))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            if (!platform::peerIsThisUser(static_cast<int>(client->socketDescriptor()))) {
                client->abort();
                client->deleteLater();
                continue;
            }
            connect(client, &QLocalSocket::disconnected, this, [this, client] {
                m_pending.remove(client);
                client->deleteLater();
            });
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                // A hand-over is small; anything past a megabyte is not one.
                QByteArray& pending = m_pending[client];
                pending += client->readAll();
                if (pending.size() > (1 << 20)) {
                    m_pending.remove(client);
                    client->abort();
                    return;
                }
                const auto files = decodeFiles(pending);
                if (!files)
                    return;
                m_pending.remove(client);
                client->write("ok");
                client->flush();
                if (m_onFiles)
                    m_onFiles(*files);
            });
        }
    });
    return true;
}

} // namespace gui
