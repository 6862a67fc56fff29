#include "gui/renderer.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <algorithm>
#include <xcb/xcb.h>

#include "gui/form_view.h"
#include "gui/session.h"
#include "runtime/app.h"

namespace gui {

namespace {

// How many owners a window has above it: owners are shown (and stacked) before what they own.
int ownerDepth(const runtime::Form& form)
{
    int depth = 0;
    for (const runtime::Form* f = form.owner(); f && depth < 16; f = f->owner())
        ++depth;
    return depth;
}

} // namespace

// Qt does not notice when another program destroys one of its windows (xdotool windowclose,
// a forced close): the window is gone from the screen while Qt still counts it as shown, and a
// modal one keeps blocking the others for good. The display's notice of the destruction is
// taken as the desktop closing the window.
class WindowGoneFilter : public QAbstractNativeEventFilter {
public:
    explicit WindowGoneFilter(Renderer& renderer)
        : m_renderer(renderer)
    {
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY)
            return false;
        const auto* gone = static_cast<const xcb_destroy_notify_event_t*>(message);
        // The window's own notice, not its parent's about a child.
        if (gone->window == gone->event)
            m_renderer.nativeWindowDestroyed(gone->window);
        return false;
    }

private:
    Renderer& m_renderer;
};

Renderer::Renderer(Session& session)
    : m_session(session)
    , m_goneFilter(std::make_unique<WindowGoneFilter>(*this))
{
    QCoreApplication::instance()->installNativeEventFilter(m_goneFilter.get());
    // A panel that comes (or grows) after the windows opened takes its strip of the screen:
    // the windows are fitted to the new work area.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        auto refit = [this] {
            for (const auto& view : m_order)
                view->refit();
            m_session.sync();
        };
        auto watch = [app, refit](QScreen* screen) {
            QObject::connect(screen, &QScreen::availableGeometryChanged, app, refit);
        };
        for (QScreen* screen : QGuiApplication::screens())
            watch(screen);
        QObject::connect(app, &QGuiApplication::screenAdded, app, watch);
    }
}

Renderer::~Renderer()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(m_goneFilter.get());
    clear();
}

void Renderer::nativeWindowDestroyed(uintptr_t window)
{
    // Qt's own re-creations of a window change its id first, so only a window destroyed behind
    // Qt's back still carries the id.
    for (const auto& view : m_order) {
        if (view->attached() && view->isVisible() && view->internalWinId() == window) {
            view->destroyedByDesktop();
            return;
        }
    }
}

void Renderer::sync()
{
    if (m_syncing) {
        // A view's update let Qt run code that changed a window again: catch up afterwards.
        m_pending = true;
        return;
    }
    QScopedValueRollback<bool> guard(m_syncing, true);
    do {
        m_pending = false;
        const runtime::App& app = m_session.app();
        if (app.revision() == m_seen)
            return;
        m_seen = app.revision();
        for (runtime::Form* form : app.forms()) {
            if (m_views.count(form))
                continue;
            LaterPtr<FormView> view(new FormView(m_session, *form));
            view->onPainted = [this] {
                if (onPainted)
                    onPainted();
            };
            m_views[form] = view.get();
            m_order.push_back(std::move(view));
        }
        std::vector<FormView*> ordered = views();
        std::stable_sort(ordered.begin(), ordered.end(),
            [](FormView* a, FormView* b) { return ownerDepth(a->form()) < ownerDepth(b->form()); });
        for (FormView* view : ordered)
            view->sync();
    } while (m_pending);
}

void Renderer::rezoom()
{
    for (const auto& view : m_order)
        view->rezoom();
    m_seen = 0;
    // Inside an update the loop goes round again; outside, this is the update.
    sync();
}

void Renderer::formUnloaded(runtime::Form& form)
{
    auto it = m_views.find(&form);
    if (it == m_views.end())
        return;
    FormView* view = it->second;
    m_views.erase(it);
    // Views owned by this one lose their owner with it.
    for (const auto& other : m_order) {
        if (other.get() != view)
            other->ownerGone(*view);
    }
    view->detach();
    // Let go: the view may be the one whose event handler is running right now.
    retire(view);
}

void Renderer::retire(const FormView* view)
{
    std::erase_if(m_order, [view](const LaterPtr<FormView>& owned) { return owned.get() == view; });
}

void Renderer::clear()
{
    // A window drawn inside its owner's would go with the owner's.
    for (const auto& view : m_order) {
        view->detach();
        view->setParent(nullptr);
    }
    // Before the windows go, while no handler of a view runs: the views go at once.
    for (auto& view : m_order)
        std::unique_ptr<FormView>(view.release()).reset();
    m_views.clear();
    m_order.clear();
    m_seen = 0;
}

FormView* Renderer::viewOf(const runtime::Form& form) const
{
    auto it = m_views.find(&form);
    return it == m_views.end() ? nullptr : it->second;
}

std::vector<FormView*> Renderer::views() const
{
    std::vector<FormView*> out;
    out.reserve(m_order.size());
    for (const auto& view : m_order)
        out.push_back(view.get());
    return out;
}

bool Renderer::anyShown() const
{
    return std::any_of(
        m_order.begin(), m_order.end(), [](const LaterPtr<FormView>& v) { return v->isVisible(); });
}

bool Renderer::shownAndPainted() const
{
    bool any = false;
    for (const auto& view : m_order) {
        if (!view->isVisible())
            continue;
        if (!view->paintedOnce())
            return false;
        any = true;
    }
    return any;
}

} // namespace gui
