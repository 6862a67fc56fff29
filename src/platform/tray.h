#pragma once
// The notification-area icon. The window that owns the icon names one of its controls in the
// record; the desktop reports mouse events on the icon to that control as mouse-move events
// whose X coordinate carries the event's message number times 15 (twips), the way the
// platform's notification callback arrives.
#include <memory>
#include <string>
#include <vector>

#include "runtime/picture.h"

namespace runtime {
class Control;
}

namespace platform {

// Mouse messages reported for the icon.
enum TrayMessage {
    TrayMouseMove = 0x200,
    TrayLeftDown = 0x201,
    TrayLeftUp = 0x202,
    TrayLeftDouble = 0x203,
    TrayRightDown = 0x204,
    TrayRightUp = 0x205
};

// The icon record: size 88, the receiving control, icon id, flags, callback message, the
// icon picture and the tip (64 characters padded with blanks, as text; `tipBytes` holds it
// in the system code page).
struct NotifyIconRecord {
    int size = 88;
    runtime::Control* window = nullptr;
    int id = 1;
    int flags = 7;
    int callbackMessage = 512;
    runtime::Picture icon;
    std::string tip;
    std::string tipBytes;
};

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Shows the icon (the "add" operation); false when the desktop has no notification area.
    virtual bool add(const NotifyIconRecord& record) = 0;
    // Removes the icon (the "delete" operation).
    virtual bool remove(const NotifyIconRecord& record) = 0;
    // Whether the desktop shows notification icons at all.
    [[nodiscard]] virtual bool available() const = 0;
};

// Reports mouse message `message` on the icon to the control named in the record.
void deliverTrayMessage(const NotifyIconRecord& record, int message);

// A notification area without a display: remembers the icon and the calls made.
class RecordingTray : public TrayIcon {
public:
    bool add(const NotifyIconRecord& record) override;
    bool remove(const NotifyIconRecord& record) override;
    [[nodiscard]] bool available() const override { return m_available; }
    // Makes the recording tray act as a desktop without a notification area.
    void setAvailable(bool v) { m_available = v; }
    // Whether an icon is shown, and its record.
    [[nodiscard]] bool shown() const { return m_shown; }
    [[nodiscard]] const NotifyIconRecord& record() const { return m_record; }
    // "add" and "delete" in call order.
    [[nodiscard]] const std::vector<std::string>& calls() const { return m_calls; }

private:
    bool m_shown = false;
    bool m_available = true;
    NotifyIconRecord m_record;
    std::vector<std::string> m_calls;
};

} // namespace platform
