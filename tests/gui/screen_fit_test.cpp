// Where a window that does not fit on the screen goes.
#include <gtest/gtest.h>

#include "gui/screen_fit.h"

namespace {

TEST(ScreenFit, AWindowMovesOnlyAsFarAsItMustToLieOnTheScreen)
{
    const QRect screen(0, 0, 1024, 768);
    const struct {
        const char* name;
        QRect window;
        QPoint offset;
    } rows[] = {
        { "fits", { 198, 75, 600, 500 }, { 0, 0 } }, // fits: its designed place
        { "small_screen", { 198, 75, 960, 735 }, { -134, -42 } }, // the hub on a small screen
        { "above_and_left", { -50, -20, 400, 300 }, { 50, 20 } }, // above and left of the screen
        { "larger_than_screen", { 100, 100, 1100, 900 },
            { -100, -100 } }, // larger than the screen: top left first
        { "below_and_right", { 900, 700, 200, 100 }, { -76, -32 } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(gui::offsetOntoScreen(row.window, screen), row.offset)
            << row.window.x() << "," << row.window.y();
    }
    // The free area of a screen with a panel at its top.
    EXPECT_EQ(gui::offsetOntoScreen({ 10, 0, 300, 200 }, { 0, 30, 1024, 738 }), QPoint(0, 30));
    EXPECT_EQ(gui::offsetOntoScreen({ 10, 10, 300, 200 }, {}), QPoint());
}

} // namespace
