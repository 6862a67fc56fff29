#include "common/chrome.h"

#include <algorithm>
#include <cstdint>

#include "runtime/vbtext.h"

namespace common::chrome {

namespace {

// Whole numbers in the range of a 16-bit signed field, as the drag state holds them.
int toInt16(double v)
{
    const int64_t r = vb::bankersRound(v);
    return static_cast<int>(std::clamp<int64_t>(r, INT16_MIN, INT16_MAX));
}

} // namespace

void beginDrag(runtime::Form& window, const runtime::MouseEvent& e)
{
    window.drag.dragging = true;
    window.drag.grabX = toInt16(e.x);
    window.drag.grabY = toInt16(e.y);
}

void endDrag(runtime::Form& window)
{
    window.drag.dragging = false;
}

void dragMove(runtime::Form& window, const runtime::MouseEvent& e)
{
    if (!window.drag.dragging)
        return;
    const int unit = window.twipsPerUnit();
    // Sound: positions are kept in a wider type than the 16-bit design so that screens larger than
    // 2184 pixels do not wrap around.
    const int64_t left = window.left() + vb::bankersRound((e.x - window.drag.grabX) * unit);
    const int64_t top = window.top() + vb::bankersRound((e.y - window.drag.grabY) * unit);
    window.move(static_cast<int>(left), static_cast<int>(top));
}

} // namespace common::chrome
