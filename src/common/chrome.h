#pragma once
// Moving a window by dragging its background or a title label.
#include "runtime/control.h"
#include "runtime/form.h"

namespace common::chrome {

// A press with any button starts a drag and remembers the grab point.
void beginDrag(runtime::Form& window, const runtime::MouseEvent& e);
// Releasing the button ends it.
void endDrag(runtime::Form& window);
// While dragging, moves the window so the grabbed point follows the mouse. The mouse travel
// is in the window's own units and is converted to twips, so a pixel-scaled window follows
// the mouse exactly.
void dragMove(runtime::Form& window, const runtime::MouseEvent& e);

} // namespace common::chrome
