#pragma once
// Moving a window by dragging its background or a title label.
#include "runtime/control.h"
#include "runtime/form.h"

namespace zelvora::chrome {

// A press with any button starts a drag and remembers the grab point.
void beginDrag(rt::Form& window, const rt::MouseEvent& e);
// Releasing the button ends it.
void endDrag(rt::Form& window);
// While dragging, moves the window so the grabbed point follows the mouse. The mouse travel
// is in the window's own units and is converted to twips, so a pixel-scaled window follows
// the mouse exactly.
void dragMove(rt::Form& window, const rt::MouseEvent& e);

} // namespace zelvora::chrome
