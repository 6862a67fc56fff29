#pragma once
// Pops up a window's runtime menu as a Qt menu at the mouse position.
namespace rt {
class Form;
class Menu;
} // namespace rt

namespace gui {

class Session;

// Shows the menu's items (submenus, separators, checks; hidden items left out, disabled
// items greyed) at the cursor, waits for the choice and raises the chosen item's click.
void popupRuntimeMenu(Session& session, rt::Form& form, rt::Menu& menu);

} // namespace gui
