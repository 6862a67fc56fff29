#include "gui/qt_tray.h"

#include <QIcon>
#include <algorithm>

#include "gui/look.h"
#include "gui/session.h"
#include "runtime/app.h"
#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/vbtext.h"

namespace gui {

namespace {

// Whether a control still belongs to a loaded window (the record holds a bare pointer).
bool controlAlive(const rt::App& app, const rt::Control* control)
{
    for (const rt::Form* form : app.forms()) {
        const auto& controls = form->controls();
        if (std::find(controls.begin(), controls.end(), control) != controls.end())
            return true;
    }
    return false;
}

}  // namespace

std::vector<int> trayMessagesOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {platform::TrayLeftDown, platform::TrayLeftUp};
    case QSystemTrayIcon::DoubleClick:
        return {platform::TrayLeftDouble, platform::TrayLeftUp};
    case QSystemTrayIcon::Context:
        return {platform::TrayRightDown, platform::TrayRightUp};
    default:
        return {};
    }
}

QtTray::QtTray(Session& session)
    : m_session(session)
{
}

QtTray::~QtTray()
{
    delete m_icon;
}

bool QtTray::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTray::shown() const
{
    return m_icon && m_icon->isVisible();
}

bool QtTray::add(const platform::NotifyIconRecord& record)
{
    m_record = record;
    m_added = true;
    if (!available())
        return false;
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(this);
        connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) { deliver(r); });
    }
    m_icon->setIcon(QIcon(pixmapOf(record.icon)));
    // The record's tip is a fixed field padded with blanks.
    m_icon->setToolTip(qs(vb::RTrim(record.tip)));
    m_icon->show();
    return true;
}

bool QtTray::remove(const platform::NotifyIconRecord&)
{
    m_added = false;
    if (m_icon)
        m_icon->hide();
    return true;
}

void QtTray::deliver(QSystemTrayIcon::ActivationReason reason)
{
    for (int message : trayMessagesOf(reason)) {
        m_session.run([&] {
            if (m_added && controlAlive(m_session.app(), m_record.window))
                platform::deliverTrayMessage(m_record, message);
        });
    }
}

}  // namespace gui
