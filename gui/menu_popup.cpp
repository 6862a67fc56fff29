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

bool stillLoaded(const runtime::App& app, const runtime::Form* form)
{
    const auto forms = app.forms();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

} // namespace

void fillRuntimeMenu(QMenu& target, const runtime::Menu& source)
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
            fillRuntimeMenu(*sub, *item);
            continue;
        }
        QAction* action = target.addAction(qs(item->caption()));
        action->setEnabled(item->enabled());
        action->setCheckable(item->checked());
        action->setChecked(item->checked());
        action->setData(qs(item->name()));
    }
}

void chooseRuntimeMenuItem(Session& session, const runtime::Form* form, const QString& name)
{
    runtime::App& app = session.app();
    if (name.isEmpty() || !stillLoaded(app, form))
        return;
    if (runtime::Control* item = form->control(utf8(name));
        item && item->kind() == runtime::ControlKind::Menu && item->enabled())
        item->click();
}

void popupRuntimeMenu(Session& session, runtime::Form&, runtime::Menu& menu)
{
    // The items belong to the menu's own window, whichever window pops it up.
    runtime::Form& form = menu.form();
    QMenu popup;
    fillRuntimeMenu(popup, menu);
    if (popup.isEmpty())
        return;
    // Timers ran while the menu was open: the window may have gone, so the item is looked
    // up again by its name.
    if (QAction* chosen = popup.exec(QCursor::pos()))
        chooseRuntimeMenuItem(session, &form, chosen->data().toString());
}

} // namespace gui
