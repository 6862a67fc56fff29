#include "gui/screen_fit.h"

#include <algorithm>

namespace gui {

namespace {

// The move along one axis that brings [start, start + length) into [low, low + room).
int offsetInto(int start, int length, int low, int room)
{
    const int end = start + length;
    if (start >= low && end <= low + room)
        return 0;
    // Too long to fit: its start goes to the area's start, so the title stays reachable.
    if (length > room)
        return low - start;
    return std::clamp(start, low, low + room - length) - start;
}

} // namespace

QPoint offsetOntoScreen(const QRect& group, const QRect& available)
{
    if (available.isEmpty())
        return {};
    return { offsetInto(group.x(), group.width(), available.x(), available.width()),
        offsetInto(group.y(), group.height(), available.y(), available.height()) };
}

} // namespace gui
