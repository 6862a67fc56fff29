#pragma once
// Pops up a window's runtime menu as a Qt menu at the mouse position.
namespace runtime {
class Form;
class Menu;
} // namespace runtime

namespace gui {

class Session;

// Shows the menu's items (submenus, separators, checks; hidden items left out, disabled
// items greyed) at the cursor, waits for the choice and raises the chosen item's click.
void popupRuntimeMenu(Session& session, runtime::Form& form, runtime::Menu& menu);

} // namespace gui
