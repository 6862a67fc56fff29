#pragma once
// Pops up a window's runtime menu as a Qt menu at the mouse position.
class QMenu;
class QString;

namespace runtime {
class Form;
class Menu;
} // namespace runtime

namespace gui {

class Session;

// Shows the menu's items (submenus, separators, checks; hidden items left out, disabled
// items greyed) at the cursor, waits for the choice and raises the chosen item's click.
void popupRuntimeMenu(Session& session, runtime::Form& form, runtime::Menu& menu);

// Fills a Qt menu with the items of a runtime menu, as the pop-up shows them; each action
// carries its item's name.
void fillRuntimeMenu(QMenu& target, const runtime::Menu& source);

// Raises the click of the item of that name in the menu's window, where the window is still
// loaded and the item still enabled (the choice may come after timers ran).
void chooseRuntimeMenuItem(Session& session, const runtime::Form* form, const QString& name);

} // namespace gui
