#pragma once
// The notification-area icon on the desktop: Qt's system tray icon, reporting the person's
// clicks to the control named in the icon's record.
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "gui/later_ptr.h"
#include "platform/tray.h"

namespace runtime {
class Menu;
}

namespace gui {

class Session;

class QtTray : public QObject, public platform::TrayIcon {
public:
    explicit QtTray(Session& session);
    ~QtTray() override;

    // Shows the icon with the record's picture and tip; false where the desktop has no
    // notification area (the icon is remembered all the same).
    bool add(const platform::NotifyIconRecord& record) override;
    bool remove(const platform::NotifyIconRecord& record) override;
    [[nodiscard]] bool available() const override;
    // Whether the icon is on show in the notification area.
    [[nodiscard]] bool shown() const;
    // Shows a notice beside the icon (the desktop's message balloon); a click on it is handed
    // to the program's notices. Where the desktop has no notification area, a small balloon
    // of the program's own shows it above the stand-in for a few seconds; with neither the
    // notice is only remembered.
    void showNotice(const QString& title, const QString& text);
    // The stand-in's balloon, while it is on screen (else nullptr).
    [[nodiscard]] QWidget* balloon() const;
    // The person clicked the notice on show.
    void noticeClicked();
    // How long the stand-in's balloon stays.
    static constexpr int kBalloonMs = 6000;
    // Where the icon (or its stand-in) is on screen.
    [[nodiscard]] QRect geometry() const;
    // Reports mouse messages on the icon to the record's control, as the desktop does for a
    // click of that kind (the test suite and the stand-in below use it too).
    void deliver(QSystemTrayIcon::ActivationReason reason);
    // Told after every update of the windows whether any is on screen. Where the desktop has
    // no notification area, an icon that would be the program's only way back is shown as a
    // small stand-in window in the screen's corner instead, with the same clicks and menu.
    void windowsShown(bool any);
    // The stand-in, while it is on screen (else nullptr).
    [[nodiscard]] QWidget* standIn() const;
    // The menu a desktop that shows the icon's menu itself shows (null where the program pops
    // its menu up itself).
    [[nodiscard]] QMenu* exportedMenu() const { return m_menu.get(); }
    // How often a wanted icon looks for a notification area that was not there (a panel that
    // starts after the program, or restarts).
    static constexpr int kTrayLookMs = 1000;

private:
    // Shows the remembered icon in the notification area, when there is one now.
    void showIcon();
    // Brings the exported menu in step with its source (items, checks, greying).
    void syncMenu();
    // The menu the icon's right click pops up, asked of the windows without showing it.
    runtime::Menu* menuOfRightClick();
    Session& m_session;
    platform::NotifyIconRecord m_record;
    bool m_added = false;
    // The window in place of the icon, let go when a window shows (its own click may show it).
    LaterPtr<QWidget> m_standIn;
    // The icon goes before the menu it exports.
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    // The notice on show owns itself and goes when it is closed.
    QPointer<QWidget> m_balloon;
    runtime::Menu* m_source = nullptr;
    // What the exported menu was last filled from (captions, visibility, checks, greying).
    QString m_menuShape;
    QTimer m_look;
    // Whether the icon went to the notification area that is there now.
    bool m_shownInArea = false;
};

// The mouse messages the platform reports for an activation of the icon, in order.
std::vector<int> trayMessagesOf(QSystemTrayIcon::ActivationReason reason);

} // namespace gui
