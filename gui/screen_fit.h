#pragma once
// Keeping a window that opens on its own (with the windows glued to it) on the screen.
#include <QPoint>
#include <QRect>

namespace gui {

// How far to move a group of windows that covers `group` so that it lies inside `available`:
// nothing where it already does; otherwise the least move that brings it in, its top left
// corner first where the group is larger than the area.
QPoint offsetOntoScreen(const QRect& group, const QRect& available);

} // namespace gui
