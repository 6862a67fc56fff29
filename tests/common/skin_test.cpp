#include <gtest/gtest.h>

#include "common/chrome.h"
#include "common/skin.h"
#include "music/music_window.h"
#include "player/player_window.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "support/test_program.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"

using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

TEST(SkinRefresh, PictureModeRecreatesADeletedSettingsFileFromTheCache)
{
    TestProgram p;
    p.start();
    std::filesystem::remove(p.dataFile("skin/ini.db"));
    traymenu::Form6& tray = p.app.get<traymenu::Form6>();
    tray.Text4.setText("tu + chun");
    shell::moban& hub = p.app.get<shell::moban>();
    hub.Timer1.start(1);
    p.app.advance(1);
    const std::string jpg = p.dataFile("skin/zelv.jpg");
    EXPECT_EQ(readBytes(p.dataFile("skin/ini.db")), "11599360\r\n" + jpg + "\r\ntu + chun\r\n");
    EXPECT_FALSE(hub.Timer1.enabled());
    EXPECT_EQ(hub.Text4.text(), jpg);
}

TEST(SkinRefresh, PlainModeClearsPicturesAndPictureModePaintsThemAgain)
{
    TestProgram p;
    p.start();
    music::Form1& music = p.app.get<music::Form1>();
    ASSERT_FALSE(music.painted().picture.empty());
    p.app.get<traymenu::Form6>().Text4.setText("chun");
    music.Timer5.start(1);
    p.app.advance(1);
    EXPECT_TRUE(music.painted().picture.empty());
    EXPECT_EQ(p.app.get<settings::setz>().Label2.backStyle(), runtime::Opaque);
    // The settings file is left as it is until the user applies.
    EXPECT_NE(readBytes(p.dataFile("skin/ini.db")).find("tu + chun"), std::string::npos);

    p.app.get<traymenu::Form6>().Text4.setText("tu + chun");
    music.Timer5.start(1);
    p.app.advance(1);
    EXPECT_FALSE(music.painted().picture.empty());
    EXPECT_EQ(music.painted().height, p.app.get<shell::moban>().height() / 15);
    EXPECT_EQ(p.app.get<settings::setz>().Label2.backStyle(), runtime::Transparent);
}

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
