#include <gtest/gtest.h>

#include "music/music_window.h"
#include "player/player_window.h"
#include "settings/settings_window.h"
#include "shell/chrome.h"
#include "shell/hub_window.h"
#include "shell/skin.h"
#include "support/test_program.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"

using namespace zelvora;
using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

TEST(SkinRefresh, PictureModeRecreatesADeletedSettingsFileFromTheCache)
{
    TestProgram p;
    p.start();
    std::filesystem::remove(p.dataFile("skin/ini.db"));
    Form6& tray = p.app.get<Form6>();
    tray.Text4.setText("tu + chun");
    moban& hub = p.app.get<moban>();
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
    Form1& music = p.app.get<Form1>();
    ASSERT_FALSE(music.painted().picture.empty());
    p.app.get<Form6>().Text4.setText("chun");
    music.Timer5.start(1);
    p.app.advance(1);
    EXPECT_TRUE(music.painted().picture.empty());
    EXPECT_EQ(p.app.get<setz>().Label2.backStyle(), rt::Opaque);
    // The settings file is left as it is until the user applies.
    EXPECT_NE(readBytes(p.dataFile("skin/ini.db")).find("tu + chun"), std::string::npos);

    p.app.get<Form6>().Text4.setText("tu + chun");
    music.Timer5.start(1);
    p.app.advance(1);
    EXPECT_FALSE(music.painted().picture.empty());
    EXPECT_EQ(music.painted().height, p.app.get<moban>().height() / 15);
    EXPECT_EQ(p.app.get<setz>().Label2.backStyle(), rt::Transparent);
}

TEST(SkinRefresh, WindowsLoadedLaterWearTheSkin)
{
    TestProgram p;
    writeBytes(p.dataFile("skin/ini.db"), "255\r\nx\r\nchun\r\n");
    p.start();
    p.app.get<moban>().Label7.mouseDown({ rt::LeftButton, 0, 0, 0 });
    Form5& player = p.app.get<Form5>();
    EXPECT_EQ(player.Text8.text(), "255");
    EXPECT_EQ(player.List1.backColor(), 255);
    EXPECT_EQ(player.List7.backColor(), 255);
    EXPECT_TRUE(player.painted().picture.empty());
}

namespace {

class TwipsWindow : public rt::Form {
public:
    explicit TwipsWindow(rt::App& app)
        : rt::Form(app, "TwipsWindow")
    {
    }
};

} // namespace

TEST(Chrome, ThePointUnderTheMouseStaysPutInATwipsWindow)
{
    rt::App app;
    TwipsWindow& w = app.get<TwipsWindow>();
    w.move(3000, 2000);
    chrome::beginDrag(w, { rt::LeftButton, 0, 450.6, 300 });
    chrome::dragMove(w, { rt::LeftButton, 0, 600, 330 });
    EXPECT_EQ(w.left(), 3000 + 600 - 451);
    EXPECT_EQ(w.top(), 2000 + 30);
    chrome::endDrag(w);
    chrome::dragMove(w, { rt::NoButton, 0, 900, 900 });
    EXPECT_EQ(w.left(), 3149);
}
