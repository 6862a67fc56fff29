#include "gui/qt_tray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "gui/desktop.h"
#include "gui/look.h"
#include "gui/menu_popup.h"
#include "gui/qt_host.h"
#include "gui/session.h"
#include "platform/notices.h"
#include "runtime/app.h"
#include "runtime/control.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/vbtext.h"

namespace gui {

namespace {

// Whether a control still belongs to a loaded window (the record holds a bare pointer).
bool controlAlive(const runtime::App& app, const runtime::Control* control)
{
    for (const runtime::Form* form : app.forms()) {
        const auto& controls = form->controls();
        if (std::find(controls.begin(), controls.end(), control) != controls.end())
            return true;
    }
    return false;
}

// Whether Qt shows the icon through a StatusNotifier host on the session bus (the host then
// shows the icon's menu itself) rather than in an X notification area that reports clicks.
bool notifierHost()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

// A text that changes whenever what the menu shows changes.
QString shapeOf(const runtime::Menu& menu)
{
    QString shape;
    for (const runtime::Menu* item : menu.children())
        shape += qs(item->caption()) + QLatin1Char(item->visible() ? 'v' : '-')
            + QLatin1Char(item->enabled() ? 'e' : '-') + QLatin1Char(item->checked() ? 'c' : '-')
            + QLatin1Char('[') + shapeOf(*item) + QLatin1Char(']');
    return shape;
}

// The icon in a small window of its own, for desktops without a notification area.
class StandIn : public QWidget {
public:
    StandIn(QtTray& tray, const QPixmap& icon, const QString& tip)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
        , m_tray(tray)
        , m_icon(icon)
    {
        setToolTip(tip);
        setFixedSize(40, 40);
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.right() - width() - 8, area.bottom() - height() - 8);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40, 200));
        p.drawRoundedRect(rect(), 8, 8);
        const QPixmap icon = m_icon.scaled(28, 28, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap((width() - icon.width()) / 2, (height() - icon.height()) / 2, icon);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton)
            m_tray.deliver(QSystemTrayIcon::Context);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_tray.deliver(QSystemTrayIcon::Trigger);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_tray.deliver(QSystemTrayIcon::DoubleClick);
    }

private:
    QtTray& m_tray;
    QPixmap m_icon;
};

// A notice in a small window of its own above the stand-in: its title and text, gone after
// a few seconds or at a click, which is the notice's own click.
class Balloon : public QWidget {
public:
    Balloon(QtTray& tray, const QString& title, const QString& text, const QRect& icon)
        : QWidget(nullptr,
            Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
        , m_tray(tray)
        , m_title(title)
        , m_text(text)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_DeleteOnClose);
        setCursor(Qt::PointingHandCursor);
        QFont bold = font();
        bold.setBold(true);
        const int inner = kWidth - 2 * kMargin;
        const QRect words = fontMetrics().boundingRect(QRect(0, 0, inner, 1000), kWrap, m_text);
        setFixedSize(kWidth, 3 * kMargin + QFontMetrics(bold).height() + words.height());
        QRect place(icon.right() + 1 - width(), icon.top() - kGap - height(), width(), height());
        if (QScreen* screen = QGuiApplication::screenAt(icon.center())) {
            const QRect area = screen->availableGeometry();
            place.moveLeft(std::clamp(place.left(), area.left(), area.right() + 1 - width()));
            place.moveTop(std::clamp(place.top(), area.top(), area.bottom() + 1 - height()));
        }
        move(place.topLeft());
        QTimer::singleShot(QtTray::kBalloonMs, this, &QWidget::close);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // Square corners: without a compositor the corners of a rounded window stay black.
        QPainter p(this);
        p.setPen(QColor(120, 120, 120));
        p.setBrush(QColor(255, 255, 225));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        QFont bold = font();
        bold.setBold(true);
        const int titleHeight = QFontMetrics(bold).height();
        p.setPen(Qt::black);
        p.setFont(bold);
        p.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, titleHeight), Qt::AlignLeft, m_title);
        p.setFont(font());
        p.drawText(QRect(kMargin, 2 * kMargin + titleHeight, width() - 2 * kMargin, height()), kWrap, m_text);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        close();
        m_tray.noticeClicked();
    }

private:
    static constexpr int kWidth = 280;
    static constexpr int kMargin = 10;
    static constexpr int kGap = 6;
    static constexpr int kWrap = Qt::AlignLeft | Qt::TextWordWrap | Qt::TextWrapAnywhere;
    QtTray& m_tray;
    QString m_title;
    QString m_text;
};

} // namespace

std::vector<int> trayMessagesOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return { platform::TrayLeftDown, platform::TrayLeftUp };
    case QSystemTrayIcon::DoubleClick:
        return { platform::TrayLeftDouble, platform::TrayLeftUp };
    case QSystemTrayIcon::Context:
        return { platform::TrayRightDown, platform::TrayRightUp };
    default:
        return {};
    }
}

QtTray::QtTray(Session& session)
    : m_session(session)
{
    m_look.setInterval(kTrayLookMs);
    connect(&m_look, &QTimer::timeout, this, [this] {
        if (!available()) {
            m_shownInArea = false;
            return;
        }
        if (!m_added || m_shownInArea)
            return;
        showIcon();
        // The stand-in gives way to the icon.
        m_session.sync();
    });
}

QtTray::~QtTray()
{
    if (m_balloon)
        m_balloon->close();
    if (m_standIn)
        m_standIn->hide();
}

bool QtTray::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTray::shown() const
{
    return m_icon && m_icon->isVisible() && available();
}

QRect QtTray::geometry() const
{
    if (shown())
        return m_icon->geometry();
    return m_standIn ? m_standIn->frameGeometry() : QRect();
}

bool QtTray::add(const platform::NotifyIconRecord& record)
{
    m_record = record;
    m_added = true;
    // Sound: a notification area that comes later (or comes back) still gets the icon.
    m_look.start();
    if (!available())
        return false;
    showIcon();
    return true;
}

void QtTray::showNotice(const QString& title, const QString& text)
{
    if (shown() && QSystemTrayIcon::supportsMessages()) {
        m_icon->showMessage(title, text, QSystemTrayIcon::Information);
        return;
    }
    if (!m_standIn)
        return;
    // A newer notice takes the place of the one on show.
    if (m_balloon)
        m_balloon->close();
    m_balloon = new Balloon(*this, title, text, m_standIn->frameGeometry());
    m_balloon->show();
}

QWidget* QtTray::balloon() const
{
    return m_balloon;
}

void QtTray::noticeClicked()
{
    // Queued: the click may open a window, which must not happen inside the balloon's own
    // mouse event.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_session.app().hasService<platform::Notices>())
                m_session.run([this] { m_session.app().service<platform::Notices>().clickLatest(); });
        },
        Qt::QueuedConnection);
}

void QtTray::showIcon()
{
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>();
        // Queued: what a click starts may hide the icon (the exit entry of its menu), and Qt
        // deletes the icon's widget on hiding it, which must not happen inside that widget's
        // own mouse event.
        connect(
            m_icon.get(), &QSystemTrayIcon::messageClicked, this, [this] { noticeClicked(); },
            Qt::QueuedConnection);
        connect(
            m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason r) { deliver(r); }, Qt::QueuedConnection);
        // Sound: a host that shows the menu itself gets the designed menu (an icon without
        // one exports none, and such a host then offers no way to leave the program). Where
        // clicks reach the program, it pops the menu up itself, as designed.
        if (notifierHost() && (m_source = menuOfRightClick())) {
            m_menu = std::make_unique<QMenu>();
            // Queued: an item may ask a question, which must not wait inside the host's call.
            connect(m_menu.get(), &QMenu::triggered, this, [this](QAction* action) {
                const QString name = action->data().toString();
                QMetaObject::invokeMethod(
                    this,
                    [this, name] {
                        if (m_added && controlAlive(m_session.app(), m_source))
                            m_session.run([&] { chooseRuntimeMenuItem(m_session, &m_source->form(), name); });
                    },
                    Qt::QueuedConnection);
            });
            syncMenu();
            m_icon->setContextMenu(m_menu.get());
        }
    }
    m_icon->setIcon(QIcon(pixmapOf(m_record.icon)));
    // The record's tip is a fixed field padded with blanks.
    m_icon->setToolTip(qs(vb::RTrim(m_record.tip)));
    // Shown anew after the area came back, so the icon docks into the new one.
    if (m_icon->isVisible() && !m_shownInArea)
        m_icon->hide();
    m_icon->show();
    m_shownInArea = true;
}

bool QtTray::remove(const platform::NotifyIconRecord&)
{
    m_added = false;
    m_look.stop();
    if (m_icon)
        m_icon->hide();
    windowsShown(true);
    return true;
}

void QtTray::syncMenu()
{
    if (!m_menu || !m_added || !controlAlive(m_session.app(), m_source))
        return;
    const QString shape = shapeOf(*m_source);
    if (shape == m_menuShape)
        return;
    m_menuShape = shape;
    m_menu->clear();
    fillRuntimeMenu(*m_menu, *m_source);
}

runtime::Menu* QtTray::menuOfRightClick()
{
    runtime::Menu* found = nullptr;
    QtHost& host = m_session.host();
    host.takePopup = [&found](runtime::Menu& menu) { found = &menu; };
    if (controlAlive(m_session.app(), m_record.window)) {
        for (int message : trayMessagesOf(QSystemTrayIcon::Context))
            platform::deliverTrayMessage(m_record, message);
    }
    host.takePopup = nullptr;
    return found;
}

void QtTray::windowsShown(bool any)
{
    syncMenu();
    const bool needed = !any && m_added && !shown();
    if (!needed) {
        m_standIn.reset();
        // The balloon goes with the stand-in it points at.
        if (m_balloon)
            m_balloon->close();
        return;
    }
    if (!m_standIn) {
        m_standIn.reset(new StandIn(*this, pixmapOf(m_record.icon), qs(vb::RTrim(m_record.tip))));
        m_standIn->show();
    }
}

QWidget* QtTray::standIn() const
{
    return m_standIn.get();
}

void QtTray::deliver(QSystemTrayIcon::ActivationReason reason)
{
    for (int message : trayMessagesOf(reason)) {
        m_session.run([&] {
            if (m_added && controlAlive(m_session.app(), m_record.window))
                platform::deliverTrayMessage(m_record, message);
        });
    }
    // A left click shows the hub; the window manager is asked to put it in front as well.
    if (reason == QSystemTrayIcon::Trigger)
        bringHubToFront(m_session);
}

} // namespace gui
