#pragma once
// The host of the app on Qt's event loop: real-time timers, the event pump, popup menus and
// the end of the program.
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>

#include "runtime/app.h"

namespace gui {

class Session;

class QtHost : public QObject, public runtime::Host {
public:
    explicit QtHost(Session& session);
    ~QtHost() override;

    void pumpEvents() override;
    void popupMenu(runtime::Form& form, runtime::Menu& menu) override;
    void programEnded() override;
    void timersChanged() override;
    void formUnloaded(runtime::Form& form) override;
    void workPosted() override;
    [[nodiscard]] std::optional<runtime::Host::ScreenPlace> pointerPlace() const override;
    // While set, a menu the windows pop up is handed here instead of shown (the tray learns
    // which menu its icon's right click opens).
    std::function<void(runtime::Menu&)> takePopup;

private:
    void tick();

    Session& m_session;
    // One single-shot timer always armed for the earliest due timer of the app.
    QTimer m_wake;
    std::atomic<bool> m_postedPending { false };
};

} // namespace gui
