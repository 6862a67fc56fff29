#include <gtest/gtest.h>

#include "common/chrome.h"
#include "player/player_window.h"
#include "shell/hub_window.h"
#include "support/test_program.h"

using testing_support::TestProgram;
using testing_support::writeBytes;

TEST(SkinRefresh, WindowsLoadedLaterWearTheSkin)
{
    TestProgram p;
    writeBytes(p.dataFile("skin/ini.db"), "255\r\nx\r\nchun\r\n");
    p.start();
    p.app.get<shell::moban>().Label7.mouseDown({ runtime::LeftButton, 0, 0, 0 });
    player::Form5& player = p.app.get<player::Form5>();
    EXPECT_EQ(player.Text8.text(), "255");
    EXPECT_EQ(player.List1.backColor(), 255);
    EXPECT_EQ(player.List7.backColor(), 255);
    EXPECT_TRUE(player.painted().picture.empty());
}

namespace {

class TwipsWindow : public runtime::Form {
public:
    explicit TwipsWindow(runtime::App& app)
        : runtime::Form(app, "TwipsWindow")
    {
    }
};

} // namespace

TEST(Chrome, ThePointUnderTheMouseStaysPutInATwipsWindow)
{
    runtime::App app;
    TwipsWindow& w = app.get<TwipsWindow>();
    w.move(3000, 2000);
    common::chrome::beginDrag(w, { runtime::LeftButton, 0, 450.6, 300 });
    common::chrome::dragMove(w, { runtime::LeftButton, 0, 600, 330 });
    EXPECT_EQ(w.left(), 3000 + 600 - 451);
    EXPECT_EQ(w.top(), 2000 + 30);
    common::chrome::endDrag(w);
    common::chrome::dragMove(w, { runtime::NoButton, 0, 900, 900 });
    EXPECT_EQ(w.left(), 3149);
}
