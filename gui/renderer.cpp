#include "gui/renderer.h"

#include <QScopedValueRollback>
#include <algorithm>

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

Renderer::Renderer(Session& session)
    : m_session(session)
{
}

Renderer::~Renderer()
{
    clear();
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
            auto* view = new FormView(m_session, *form);
            view->onPainted = [this] {
                if (onPainted)
                    onPainted();
            };
            m_views[form] = view;
            m_order.push_back(view);
        }
        std::vector<FormView*> ordered = m_order;
        std::stable_sort(ordered.begin(), ordered.end(),
            [](FormView* a, FormView* b) { return ownerDepth(a->form()) < ownerDepth(b->form()); });
        for (FormView* view : ordered)
            view->sync();
    } while (m_pending);
}

void Renderer::formUnloaded(runtime::Form& form)
{
    auto it = m_views.find(&form);
    if (it == m_views.end())
        return;
    FormView* view = it->second;
    m_views.erase(it);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), view), m_order.end());
    // Views owned by this one lose their owner with it.
    for (FormView* other : m_order)
        other->ownerGone(*view);
    retire(view);
}

void Renderer::retire(FormView* view)
{
    view->detach();
    // The view may be the one whose event handler is running right now.
    view->deleteLater();
}

void Renderer::clear()
{
    for (FormView* view : m_order) {
        view->detach();
        delete view;
    }
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
    return m_order;
}

bool Renderer::anyShown() const
{
    return std::any_of(m_order.begin(), m_order.end(), [](const FormView* v) { return v->isVisible(); });
}

bool Renderer::shownAndPainted() const
{
    bool any = false;
    for (const FormView* view : m_order) {
        if (!view->isVisible())
            continue;
        if (!view->paintedOnce())
            return false;
        any = true;
    }
    return any;
}

} // namespace gui
