#pragma once
// What the desktop's close of a window does (its close key, the window list, a compositor): by
// default the window is unloaded; a kind of window may answer it with a handler of its own.
#include <functional>
#include <string>

namespace runtime {

class Form;

// From now on the desktop's close of any window of that name runs the handler instead.
void setDesktopCloseHandler(const std::string& windowName, std::function<void(Form&)> handler);
// Runs the handler for the window's name; false where there is none (the window is to go).
bool handleDesktopClose(Form& form);

} // namespace runtime
