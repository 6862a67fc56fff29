#pragma once
// Keeps one view per loaded window and brings the views up to date from the revisions of
// the windows and their controls.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "gui/later_ptr.h"

class QAbstractNativeEventFilter;

namespace runtime {
class Form;
}

namespace gui {

class FormView;
class Session;

class Renderer {
public:
    explicit Renderer(Session& session);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Creates views for newly loaded windows and updates what changed since the last call.
    void sync();
    // Drops the view of a window that is being unloaded.
    void formUnloaded(runtime::Form& form);
    // Drops every view (before the windows themselves are destroyed).
    void clear();
    // The zoom changed: every view is laid out anew.
    void rezoom();

    // The view of a loaded window, or nullptr.
    [[nodiscard]] FormView* viewOf(const runtime::Form& form) const;
    // The views in the order their windows were loaded.
    [[nodiscard]] std::vector<FormView*> views() const;
    // Whether any window is on screen.
    [[nodiscard]] bool anyShown() const;
    // True once at least one window is shown and every shown window has been painted.
    [[nodiscard]] bool shownAndPainted() const;
    // Called whenever a window view has painted (start-up measurement listens here).
    std::function<void()> onPainted;

private:
    void retire(const FormView* view);
    // Another program destroyed this X window (the display's notice).
    void nativeWindowDestroyed(uintptr_t window);
    friend class WindowGoneFilter;

    Session& m_session;
    // The views in load order own them; a view let go may be running one of its handlers.
    std::vector<LaterPtr<FormView>> m_order;
    std::map<const runtime::Form*, FormView*> m_views;
    uint64_t m_seen = 0;
    bool m_syncing = false;
    bool m_pending = false;
    std::unique_ptr<QAbstractNativeEventFilter> m_goneFilter;
};

} // namespace gui
