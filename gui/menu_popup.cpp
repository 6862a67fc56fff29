#include "gui/menu_popup.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <algorithm>

#include "gui/look.h"
#include "gui/session.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace gui {

namespace {

// Fills a Qt menu with the children of a runtime menu; each action carries its item's name.
void fill(QMenu& target, const runtime::Menu& source)
{
    for (const runtime::Menu* item : source.children()) {
        if (!item->visible())
            continue;
        if (item->separator()) {
            target.addSeparator();
            continue;
        }
        if (!item->children().empty()) {
            QMenu* sub = target.addMenu(qs(item->caption()));
            sub->setEnabled(item->enabled());
            fill(*sub, *item);
            continue;
        }
        QAction* action = target.addAction(qs(item->caption()));
        action->setEnabled(item->enabled());
        action->setCheckable(item->checked());
        action->setChecked(item->checked());
        action->setData(qs(item->name()));
    }
}

bool stillLoaded(const runtime::App& app, const runtime::Form* form)
{
    const auto forms = app.forms();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

} // namespace

void popupRuntimeMenu(Session& session, runtime::Form&, runtime::Menu& menu)
{
    // The items belong to the menu's own window, whichever window pops it up.
    runtime::Form& form = menu.form();
    QMenu popup;
    fill(popup, menu);
    if (popup.isEmpty())
        return;
    QAction* chosen = popup.exec(QCursor::pos());
    if (!chosen || chosen->data().toString().isEmpty())
        return;
    // Timers ran while the menu was open: the window may have gone, so the item is looked
    // up again by its name.
    const std::string name = utf8(chosen->data().toString());
    runtime::App& app = session.app();
    if (!stillLoaded(app, &form))
        return;
    if (runtime::Control* item = form.control(name);
        item && item->kind() == runtime::ControlKind::Menu && item->enabled())
        item->click();
}

} // namespace gui
