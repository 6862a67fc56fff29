#include <gtest/gtest.h>

#include "music/music_window.h"
#include "shell/hub_window.h"
#include "support/test_program.h"
#include "video/web_play_window.h"

using testing_support::TestProgram;

namespace {

runtime::MouseEvent press(int button, double x = 0, double y = 0)
{
    runtime::MouseEvent e;
    e.button = button;
    e.x = x;
    e.y = y;
    return e;
}

class HubTest : public ::testing::Test {
protected:
    void SetUp() override { p.start(); }
    shell::moban& hub() { return p.app.get<shell::moban>(); }
    TestProgram p;
};

} // namespace

TEST_F(HubTest, WebPlayTileStaysOnTopUntilTwoRightClicks)
{
    hub().Label10.setVisible(true);
    hub().Label10.mouseDown(press(runtime::LeftButton));
    ASSERT_TRUE(p.app.isLoaded<video::play>());
    EXPECT_TRUE(p.app.get<video::play>().visible());
    EXPECT_TRUE(p.app.get<music::Form1>().visible());
    EXPECT_EQ(hub().qied.text(), "急速音乐");
    EXPECT_TRUE(hub().Label10.fontBold());
    EXPECT_FALSE(hub().Label6.fontBold());

    hub().Label10.mouseDown(press(runtime::RightButton));
    EXPECT_TRUE(p.app.isLoaded<video::play>());
    hub().Label10.mouseDown(press(runtime::RightButton));
    EXPECT_FALSE(p.app.isLoaded<video::play>());
    EXPECT_FALSE(hub().Label10.visible());
}

TEST_F(HubTest, DraggingCarriesTheGluedChildren)
{
    hub().Label10.mouseDown(press(runtime::LeftButton));
    p.app.get<video::play>().Text1.setText("y");
    const int left = hub().left();
    const int top = hub().top();
    // A right-button press drags too.
    hub().mouseDown(press(runtime::RightButton, 100.4, 20));
    hub().mouseMove(press(runtime::RightButton, 110, 15));
    EXPECT_EQ(hub().left(), left + 10 * 15);
    EXPECT_EQ(hub().top(), top - 5 * 15);
    EXPECT_EQ(p.app.get<video::play>().top(), hub().top() + 870);
    hub().mouseUp(press(runtime::RightButton, 110, 15));
    hub().mouseMove(press(runtime::NoButton, 300, 300));
    EXPECT_EQ(hub().left(), left + 150);
}

TEST_F(HubTest, TitleButtons)
{
    // Hovering a title button resets the others; the background resets them and the tiles.
    hub().Label3.mouseMove(press(runtime::NoButton));
    EXPECT_EQ(hub().Label3.backColor(), 0x0000FF);
    hub().Label4.mouseMove(press(runtime::NoButton));
    EXPECT_EQ(hub().Label3.backStyle(), runtime::Transparent);
    EXPECT_EQ(hub().Label4.backColor(), 0x80FF80);
    hub().Label8.mouseMove(press(runtime::NoButton));
    EXPECT_TRUE(hub().Label8.fontBold());
    hub().mouseMove(press(runtime::NoButton, 1, 1));
    EXPECT_EQ(hub().Label4.backStyle(), runtime::Transparent);
    EXPECT_FALSE(hub().Label8.fontBold());
    EXPECT_TRUE(hub().Label6.fontBold());

    hub().Label2.click();
    EXPECT_EQ(p.shell->launches().back(), "open " + p.config->get("maker_site"));
    // The title buttons lose their hover when the pointer leaves them; minimise and settings
    // also when pressed (the desktop tray and settings cases open the settings window over the
    // hub, and the late tray case closes the hub to the tray).
    for (runtime::Label* button : { &hub().Label4, &hub().Label5 }) {
        button->mouseMove(press(runtime::NoButton));
        button->mouseLeave();
        EXPECT_EQ(button->backStyle(), runtime::Transparent);
        button->mouseMove(press(runtime::NoButton));
        EXPECT_EQ(button->backStyle(), runtime::Opaque);
        button->click();
        EXPECT_EQ(button->backStyle(), runtime::Transparent);
    }
    EXPECT_EQ(hub().windowState(), runtime::WindowState::Minimized);
}

TEST_F(HubTest, WithoutANotificationAreaClosingTheHubAsksToExit)
{
    p.tray->setAvailable(false);
    hub().Label3.click();
    ASSERT_EQ(p.dialogs->messages().size(), 1u);
    EXPECT_EQ(p.dialogs->messages()[0].request.text, "您真的要退出播放器吗？");
    EXPECT_TRUE(p.app.isLoaded<shell::moban>());
    EXPECT_FALSE(p.app.ended());
    p.dialogs->queueAnswer(platform::AnswerYes);
    hub().Label3.click();
    EXPECT_TRUE(p.app.ended());
}
