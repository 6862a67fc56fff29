#include "gui/mpris.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "gui/desktop.h"
#include "gui/look.h"
#include "gui/session.h"
#include "platform/environment.h"
#include "platform/media_remote.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The interfaces as the desktop's tools read them; the methods come from the method table.
const char* const kIntrospection = R"(<interface name="org.mpris.MediaPlayer2">
@ROOT_METHODS@
<property name="CanQuit" type="b" access="read"/><property name="CanRaise" type="b" access="read"/>
<property name="Fullscreen" type="b" access="readwrite"/>
<property name="CanSetFullscreen" type="b" access="read"/>
<property name="HasTrackList" type="b" access="read"/><property name="Identity" type="s" access="read"/>
<property name="DesktopEntry" type="s" access="read"/>
<property name="SupportedUriSchemes" type="as" access="read"/>
<property name="SupportedMimeTypes" type="as" access="read"/>
</interface>
<interface name="org.mpris.MediaPlayer2.Player">
@PLAYER_METHODS@
<signal name="Seeked"><arg name="Position" type="x"/></signal>
<property name="PlaybackStatus" type="s" access="read"/><property name="LoopStatus" type="s" access="readwrite"/>
<property name="Rate" type="d" access="readwrite"/><property name="Shuffle" type="b" access="readwrite"/>
<property name="Metadata" type="a{sv}" access="read"/><property name="Volume" type="d" access="readwrite"/>
<property name="Position" type="x" access="read"/><property name="MinimumRate" type="d" access="read"/>
<property name="MaximumRate" type="d" access="read"/><property name="CanGoNext" type="b" access="read"/>
<property name="CanGoPrevious" type="b" access="read"/><property name="CanPlay" type="b" access="read"/>
<property name="CanPause" type="b" access="read"/><property name="CanSeek" type="b" access="read"/>
<property name="CanControl" type="b" access="read"/>
</interface>
)";

bool playing(const runtime::MediaPlayer& c)
{
    return c.playState() == runtime::PlayPlaying || c.playState() == runtime::PlayBuffering
        || c.playState() == runtime::PlayWaiting;
}

QVariantMap changedIn(const QVariantMap& before, const QVariantMap& now)
{
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (before.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    return changed;
}

} // namespace

std::unique_ptr<Mpris> Mpris::start(Session& session)
{
    runtime::App& app = session.app();
    if (!app.hasService<platform::MediaRemote>())
        return nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    // A second program of another user's session or profile keeps the plain name; this one
    // takes an instance name, as the protocol asks.
    QString service = QStringLiteral("org.mpris.MediaPlayer2.zelvora");
    if (!bus.registerService(service)) {
        service += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(service))
            return nullptr;
    }
    std::unique_ptr<Mpris> mpris(new Mpris(session, app.service<platform::MediaRemote>(), service));
    if (!bus.registerVirtualObject(kPath, mpris.get())) {
        bus.unregisterService(service);
        return nullptr;
    }
    return mpris;
}

Mpris::Mpris(Session& session, platform::MediaRemote& remote, const QString& service)
    : m_session(session)
    , m_remote(remote)
    , m_service(service)
{
    if (session.app().hasService<platform::Environment>())
        m_cover.folder = qs(platform::joinPath(
            session.app().service<platform::Environment>().userProfile(), ".cache/zelvora/covers"));
    m_root = mprisProperties(m_session, m_remote, kMprisRoot, m_cover);
    m_player = mprisProperties(m_session, m_remote, kMprisPlayer, m_cover);
    session.onSynced = [this] { announceChanges(); };
}

Mpris::~Mpris()
{
    m_session.onSynced = nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kPath);
    bus.unregisterService(m_service);
}

QString Mpris::introspect(const QString&) const
{
    QString methodsOf[2];
    for (const Method& method : methods()) {
        QString& xml = methodsOf[method.interfaceName == kMprisRoot ? 0 : 1];
        xml += QStringLiteral("<method name=\"%1\">").arg(QLatin1String(method.name));
        for (const auto& [name, type] : method.arguments)
            xml += QStringLiteral("<arg direction=\"in\" name=\"%1\" type=\"%2\"/>")
                       .arg(QLatin1String(name), QLatin1String(type));
        xml += QStringLiteral("</method>");
    }
    return QString::fromLatin1(kIntrospection)
        .replace(QStringLiteral("@ROOT_METHODS@"), methodsOf[0])
        .replace(QStringLiteral("@PLAYER_METHODS@"), methodsOf[1]);
}

void Mpris::act(const std::function<void()>& action)
{
    m_session.run(action);
}

void Mpris::announceChanges()
{
    if (m_session.app().ended())
        return;
    const QVariantMap player = mprisProperties(m_session, m_remote, kMprisPlayer, m_cover);
    const QVariantMap changed = changedIn(m_player, player);
    m_player = player;
    if (!changed.isEmpty()) {
        QDBusMessage signal
            = QDBusMessage::createSignal(kPath, kProperties, QStringLiteral("PropertiesChanged"));
        signal << kMprisPlayer << changed << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }
    // A position away from where playing on would have brought it is a seek (the bar's too).
    const qlonglong position = mprisPosition(m_remote);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    runtime::MediaPlayer* c = m_remote.player();
    const qlonglong expected = m_lastPosition + (c && playing(*c) ? (now - m_lastTime) * 1000 : 0);
    if (!changed.contains(QStringLiteral("Metadata")) && std::llabs(position - expected) > 1'500'000)
        announceSeek();
    m_lastPosition = position;
    m_lastTime = now;
}

void Mpris::announceSeek()
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kMprisPlayer, QStringLiteral("Seeked"));
    signal << mprisPosition(m_remote);
    QDBusConnection::sessionBus().send(signal);
}

bool Mpris::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    // Qt answers introspection itself (from introspect()) and the bus's Peer calls.
    if (message.type() != QDBusMessage::MethodCallMessage
        || message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable")
        || message.interface() == QLatin1String("org.freedesktop.DBus.Peer"))
        return false;
    const QDBusMessage reply = message.interface() == kProperties ? callProperties(message) : call(message);
    if (!message.isReplyRequired() || message.isDelayedReply())
        return true;
    connection.send(reply);
    return true;
}

// The methods of both interfaces, as the bus calls them and as introspection shows them.
const std::vector<Mpris::Method>& Mpris::methods()
{
    static const std::vector<Method> table = {
        { kMprisRoot, "Raise", {}, &Mpris::raise },
        { kMprisRoot, "Quit", {}, &Mpris::quit },
        { kMprisPlayer, "Next", {}, &Mpris::next },
        { kMprisPlayer, "Previous", {}, &Mpris::previous },
        { kMprisPlayer, "Pause", {}, &Mpris::pause },
        { kMprisPlayer, "PlayPause", {}, &Mpris::playPause },
        { kMprisPlayer, "Stop", {}, &Mpris::stop },
        { kMprisPlayer, "Play", {}, &Mpris::play },
        { kMprisPlayer, "Seek", { { "Offset", "x" } }, &Mpris::seek },
        { kMprisPlayer, "SetPosition", { { "TrackId", "o" }, { "Position", "x" } }, &Mpris::setPosition },
        { kMprisPlayer, "OpenUri", { { "Uri", "s" } }, &Mpris::openUri },
    };
    return table;
}

QDBusMessage Mpris::call(const QDBusMessage& message)
{
    const QString interfaceName = message.interface();
    const QList<QVariant> args = message.arguments();
    for (const Method& method : methods()) {
        // A call that names no interface is found by its method's name alone.
        if (message.member() != QLatin1String(method.name)
            || args.size() != qsizetype(method.arguments.size())
            || (!interfaceName.isEmpty() && interfaceName != method.interfaceName))
            continue;
        const QString refused = (this->*method.run)(args);
        return refused.isEmpty() ? message.createReply()
                                 : message.createErrorReply(QDBusError::InvalidArgs, refused);
    }
    return message.createErrorReply(
        QDBusError::UnknownMethod, QStringLiteral("No method %1").arg(message.member()));
}

void Mpris::onPlayer(const std::function<void(runtime::MediaPlayer&)>& action)
{
    // Without a medium the control has nothing to play or pause.
    runtime::MediaPlayer* c = m_remote.player();
    if (c && !c->url().empty())
        act([&] { action(*c); });
}

QString Mpris::raise(const QList<QVariant>&)
{
    act([this] { m_remote.raise(); });
    bringHubToFront(m_session);
    return {};
}

QString Mpris::quit(const QList<QVariant>&)
{
    act([this] { m_remote.quit(); });
    return {};
}

QString Mpris::next(const QList<QVariant>&)
{
    act([this] { m_remote.step(1); });
    return {};
}

QString Mpris::previous(const QList<QVariant>&)
{
    act([this] { m_remote.step(-1); });
    return {};
}

QString Mpris::play(const QList<QVariant>&)
{
    onPlayer([](auto& p) {
        if (!playing(p))
            p.play();
    });
    return {};
}

QString Mpris::pause(const QList<QVariant>&)
{
    onPlayer([](auto& p) {
        if (playing(p))
            p.pause();
    });
    return {};
}

QString Mpris::playPause(const QList<QVariant>&)
{
    onPlayer([](auto& p) { p.playOrPause(); });
    return {};
}

QString Mpris::stop(const QList<QVariant>&)
{
    onPlayer([](auto& p) { p.stopByUser(); });
    return {};
}

QString Mpris::seek(const QList<QVariant>& args)
{
    const double offset = static_cast<double>(args[0].toLongLong()) / 1e6;
    onPlayer([offset](auto& p) {
        // Past the end is the next entry's business: the medium ends as it would.
        p.seek(std::clamp(p.position() + offset, 0.0, std::max(p.duration(), 0.0)));
    });
    announceSeek();
    return {};
}

QString Mpris::setPosition(const QList<QVariant>& args)
{
    const QString track = args[0].value<QDBusObjectPath>().path();
    const double to = static_cast<double>(args[1].toLongLong()) / 1e6;
    // The protocol ignores a position for another track or outside the medium.
    const runtime::MediaPlayer* c = m_remote.player();
    if (c && track == mprisTrackId(m_remote) && to >= 0 && to <= c->duration()) {
        onPlayer([to](auto& p) { p.seek(to); });
        announceSeek();
    }
    return {};
}

QString Mpris::openUri(const QList<QVariant>& args)
{
    const QUrl url(args[0].toString());
    if (!url.isValid() || url.scheme().isEmpty())
        return QStringLiteral("Not an address");
    const std::string address = utf8(url.isLocalFile() ? url.toLocalFile() : url.toString());
    act([this, address] { m_remote.open(address); });
    return {};
}

QDBusMessage Mpris::callProperties(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    const QString method = message.member();
    const QString interfaceName = args.value(0).toString();
    if (interfaceName != kMprisRoot && interfaceName != kMprisPlayer)
        return message.createErrorReply(QDBusError::UnknownInterface, interfaceName);
    QVariantMap all = mprisProperties(m_session, m_remote, interfaceName, m_cover);
    if (interfaceName == kMprisPlayer)
        all.insert(QStringLiteral("Position"), mprisPosition(m_remote));
    if (method == QLatin1String("GetAll") && args.size() == 1)
        return message.createReply(QVariant::fromValue(all));
    const QString name = args.value(1).toString();
    if (method == QLatin1String("Get") && args.size() == 2) {
        if (!all.contains(name))
            return message.createErrorReply(QDBusError::UnknownProperty, name);
        return message.createReply(QVariant::fromValue(QDBusVariant(all.value(name))));
    }
    if (method == QLatin1String("Set") && args.size() == 3) {
        if (!setProperty(interfaceName, name, args[2].value<QDBusVariant>().variant()))
            return message.createErrorReply(
                name == QLatin1String("Volume") ? QDBusError::InvalidArgs : QDBusError::PropertyReadOnly,
                name);
        return message.createReply();
    }
    return message.createErrorReply(QDBusError::UnknownMethod, method);
}

bool Mpris::setProperty(const QString& interfaceName, const QString& name, const QVariant& value)
{
    if (interfaceName == kMprisRoot)
        return name == QLatin1String("Fullscreen");
    if (name == QLatin1String("Rate")) {
        // A rate outside the player's speeds is brought inside them; one that is not a number
        // (or 0, which players take as pause) changes nothing.
        const double rate = value.toDouble();
        if (runtime::MediaPlayer* c = m_remote.player(); c && std::isfinite(rate) && rate > 0)
            act([c, rate] { c->setRate(rate); });
        return true;
    }
    if (name == QLatin1String("Volume")) {
        // Sound: only a number is a volume; text or a list ("loud") would read as 0 and mute.
        const int type = value.metaType().id();
        if (type != QMetaType::Double && type != QMetaType::Int && type != QMetaType::UInt
            && type != QMetaType::LongLong && type != QMetaType::ULongLong && type != QMetaType::Short
            && type != QMetaType::UShort && type != QMetaType::UChar)
            return false;
        const double v = value.toDouble();
        if (!std::isfinite(v))
            return false;
        if (runtime::MediaPlayer* c = m_remote.player()) {
            const int percent = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 100));
            act([c, percent] { c->setVolume(percent); });
        }
        return true;
    }
    platform::PlayOrder order = m_remote.playOrder();
    if (name == QLatin1String("Shuffle")) {
        order.shuffle = value.toBool();
        if (order.shuffle)
            order.repeat = platform::Repeat::Playlist;
    } else if (name != QLatin1String("LoopStatus") || !orderForLoopStatus(value.toString(), order)) {
        return false;
    }
    act([this, order] { m_remote.setPlayOrder(order); });
    return true;
}

} // namespace gui
