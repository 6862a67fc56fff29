#include <gtest/gtest.h>

#include <filesystem>

#include "music/music_window.h"
#include "player/player_window.h"
#include "resources/resources.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

namespace {

const std::string kGif("GIF89a\x02\x00\x03\x00", 10);

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.start();
        p.app.runUntilIdle();
    }
    // Opens the settings window as the hub's "▼" does, freshly loaded.
    settings::setz& open()
    {
        p.app.unload<settings::setz>();
        p.app.get<shell::moban>().Label5.click();
        return p.app.get<settings::setz>();
    }
    std::string iniDb() { return readBytes(p.dataFile("skin/ini.db")); }
    std::string zelvJpg() { return p.dataFile("skin/zelv.jpg"); }

    TestProgram p;
};

} // namespace

TEST_F(SettingsTest, ColourMixesFromSlidersOrTypedValues)
{
    settings::setz& s = open();
    struct Row {
        const char* name;
        std::function<void()> act;
        const char* text2;
        const char* text3;
        const char* text4;
        const char* colour;
        int64_t swatch;
    };
    const Row rows[] = {
        { "red_to_255", [&] { s.HScroll1.setValue(255); }, "255", "0", "0", "255", 255 },
        { "green_to_128", [&] { s.HScroll2.setValue(128); }, "255", "128", "0", "33023", 33023 },
        { "blue_to_1", [&] { s.HScroll3.setValue(1); }, "255", "128", "1", "98559", 98559 },
        // A typed value counts, clamped to a channel; a non-number falls back to its slider.
        { "typed_green_over_255_then_red_moved",
            [&] {
                s.Text3.setText("300");
                s.HScroll1.setValue(10);
            },
            "10", "300", "1", "130826", 10 + 128 * 256 + 65536 },
        { "typed_red_not_a_number_then_blue_moved",
            [&] {
                s.Text2.setText("abc");
                s.HScroll3.setValue(0);
            },
            "abc", "300", "0", "65290", 10 + 128 * 256 },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.act();
        EXPECT_EQ(s.Text2.text(), r.text2);
        EXPECT_EQ(s.Text3.text(), r.text3);
        EXPECT_EQ(s.Text4.text(), r.text4);
        EXPECT_EQ(s.Text5.text(), r.colour);
        EXPECT_EQ(s.Label8.backColor(), r.swatch);
        EXPECT_EQ(s.qie.text(), "chun");
        EXPECT_TRUE(s.bg.enabled());
    }
}

TEST_F(SettingsTest, ColourPreviewRepaintsTheOpenWindows)
{
    struct Row {
        const char* name;
        const char* colour;
        bool darkText;
    };
    for (const Row& r : { Row { "light_colour_dark_text", "10488064", true },
             Row { "dark_colour_white_text", "10488063", false } }) {
        SCOPED_TRACE(r.name);
        p.app.get<shell::moban>().selectTile("在线影音");
        settings::setz& s = open();
        player::Form5& player = p.app.get<player::Form5>();
        for (runtime::ListBox* list : { &player.List1, &player.List4, &player.List6 })
            list->setForeColor(0x123456);
        s.Text5.setText(r.colour);
        p.app.advance(1);
        const int64_t colour = std::stoll(r.colour);
        EXPECT_FALSE(s.bg.enabled());
        EXPECT_EQ(s.Label1.caption(), "*选项设置*");
        EXPECT_EQ(s.Label3.backColor(), colour);
        EXPECT_EQ(player.List1.foreColor(), r.darkText ? 0x80000012 : 0xFFFFFF);
        EXPECT_EQ(player.List4.foreColor(), r.darkText ? 0x123456 : 0xFFFFFF);
        EXPECT_EQ(player.List6.backColor(), colour);
        EXPECT_EQ(p.app.get<shell::moban>().backColor(), colour);
        // The music window is loaded again hidden by the hub (it reads its height).
        EXPECT_EQ(p.app.get<music::Form1>().Text5.backColor(), colour);
    }
}

TEST_F(SettingsTest, DroppedPicturesAreCheckedBeforeTheyReplaceTheSkinPicture)
{
    // Each row of dropped_pictures.tsv: the file dropped, its bytes ("@skin": the built-in skin
    // picture) and the refusal shown; a file without one replaces the skin picture.
    settings::setz& s = open();
    writeBytes(zelvJpg(), "old");
    for (const auto& r : testing_support::testRows("settings/dropped_pictures.tsv", true)) {
        SCOPED_TRACE(r.name);
        const std::string bytes
            = r.at(1) == "@skin" ? std::string(resources::get("pictures/skin.jpg")) : r[1];
        const std::string path = p.dir.file(r[0]);
        writeBytes(path, bytes);
        const std::string before = readBytes(zelvJpg());
        s.Label10.dropFiles({ path, p.dir.file("second.gif") });
        EXPECT_EQ(s.Text6.text(), path);
        EXPECT_EQ(s.qie.text(), "tu");
        EXPECT_EQ(readBytes(zelvJpg()), r.size() > 2 ? before : bytes);
        EXPECT_EQ(
            p.messages(), r.size() > 2 ? std::vector<std::string> { r[2] } : std::vector<std::string> {});
        p.app.advance(1);
    }
    s.Label10.dropFiles({});
    EXPECT_TRUE(p.messages().empty());
}

TEST_F(SettingsTest, UnsavableFilesAreReported)
{
    // A folder in a file's place makes the write fail even for a privileged user.
    settings::setz& s = open();
    std::filesystem::remove(zelvJpg());
    writeBytes(zelvJpg() + "/keep", "x");
    const std::string path = p.dir.file("new.gif");
    writeBytes(path, kGif);
    s.Label10.dropFiles({ path });
    EXPECT_EQ(
        p.messages(), std::vector<std::string> { "背景图片没有保存成功，请确认设置文件夹可以写入后再试" });
    EXPECT_TRUE(std::filesystem::is_directory(zelvJpg()));

    s.Text5.setText("255");
    p.app.advance(1);
    std::filesystem::remove(p.dataFile("skin/ini.db"));
    writeBytes(p.dataFile("skin/ini.db/keep"), "x");
    for (runtime::CommandButton* button : { &s.Command1, &s.Command3 }) {
        SCOPED_TRACE(button->caption());
        button->click();
        EXPECT_EQ(
            p.messages(), std::vector<std::string> { "设置没有保存成功，请确认设置文件夹可以写入后再试" });
        EXPECT_EQ(s.Label1.caption(), "*选项设置*");
    }
}

TEST_F(SettingsTest, ApplyWritesFiveLinesWithTheFixedPicturePath)
{
    writeBytes(p.dataFile("skin/ini.db"), "11599360\r\n/elsewhere/pic.gif\r\ntu + chun\r\n");
    settings::setz& s = open();
    s.Text5.setText("255");
    s.Option1.click();
    s.Command1.click();
    EXPECT_EQ(iniDb(),
        "255\r\n" + zelvJpg() + "\r\nchun\r\n"
            + readBytes(testing_support::testData("settings/notices.txt")));
    traymenu::Form6& tray = p.app.get<traymenu::Form6>();
    EXPECT_EQ(tray.ini1.text(), "255");
    EXPECT_EQ(tray.ini3.text(), "chun");
    EXPECT_EQ(p.app.get<music::Form1>().Text3.text(), "255");
    EXPECT_EQ(s.Label1.caption(), "选项设置");

    // A colour that is not a number is applied as the default colour, never written raw.
    s.Text5.setText("blue");
    s.Command1.click();
    EXPECT_EQ(iniDb().substr(0, 10), "11599360\r\n");

    // A mode applied in an opening that left the colour alone keeps the saved colour.
    writeBytes(p.dataFile("skin/ini.db"), "255\r\nx\r\ntu + chun\r\n");
    settings::setz& again = open();
    again.Option1.click();
    again.Command1.click();
    EXPECT_EQ(iniDb().substr(0, 5), "255\r\n");
}

TEST_F(SettingsTest, RestoreWritesThreeLinesFromTheCache)
{
    writeBytes(p.dataFile("skin/ini.db"), "255\r\n/elsewhere/pic.gif\r\nchun\r\n");
    // The cache follows the file as the music window reads it at its load.
    p.app.get<shell::moban>().selectTile("在线影音");
    p.app.get<shell::moban>().selectTile("急速音乐");
    settings::setz& s = open();
    s.HScroll1.setValue(1);
    s.Command3.click();
    EXPECT_EQ(iniDb(), "1\r\n/elsewhere/pic.gif\r\nchun\r\n");
    EXPECT_EQ(s.Label1.caption(), "选项设置");

    // A colour applied, the window cancelled and reopened: the restore takes effect at once,
    // and a later apply without a colour chosen keeps the restored colour.
    s.HScroll2.setValue(200);
    p.app.advance(1);
    s.Command1.click();
    s.Command2.click();
    settings::setz& again = open();
    EXPECT_EQ(again.Label8.backColor(), 11599360);
    again.Command3.click();
    EXPECT_EQ(p.app.get<shell::moban>().backColor(), 11599360);
    EXPECT_EQ(p.app.get<music::Form1>().backColor(), 11599360);
    EXPECT_EQ(p.app.get<music::Form1>().Text3.text(), "11599360");
    again.Option2.click();
    again.Command1.click();
    EXPECT_EQ(iniDb().substr(0, 10), "11599360\r\n");
}

TEST_F(SettingsTest, LeavingWithoutSavingKeepsTheFile)
{
    for (int closeLabel = 0; closeLabel < 2; ++closeLabel) {
        const std::string before = iniDb();
        settings::setz& s = open();
        s.Text5.setText("255");
        p.app.advance(1);
        if (closeLabel)
            s.Label3.click();
        else
            s.Command2.click();
        EXPECT_FALSE(p.app.isLoaded<settings::setz>());
        EXPECT_EQ(iniDb(), before);
        EXPECT_EQ(p.app.get<music::Form1>().backColor(), 255);
    }
}

TEST_F(SettingsTest, AfterACancelledChoiceTheModeShownIsTheModeApplied)
{
    // Plain chosen over the saved picture mode, then cancelled: plain is live, and shown.
    settings::setz& first = open();
    first.Option1.click();
    first.Command2.click();
    settings::setz& again = open();
    EXPECT_TRUE(again.Option1.value());
    again.Command1.click();
    EXPECT_NE(iniDb().find("\r\nchun\r\n"), std::string::npos) << iniDb();
}

TEST_F(SettingsTest, CloseButtonHoverEndsOverTheWindow)
{
    settings::setz& s = open();
    s.Text5.setText("4660");
    for (auto reset : { +[](settings::setz& w) {
                           w.mouseMove({ runtime::NoButton, 0, 1, 1 });
                       },
             +[](settings::setz& w) {
                 w.Label1.mouseMove({ runtime::NoButton, 0, 1, 1 });
             } }) {
        s.Label3.mouseMove({ runtime::NoButton, 0, 1, 1 });
        EXPECT_EQ(s.Label3.backStyle(), runtime::Opaque);
        EXPECT_EQ(s.Label3.backColor(), 0x8080FF);
        reset(s);
        EXPECT_EQ(s.Label3.backColor(), 4660);
    }
}

TEST_F(SettingsTest, TheWindowDragsByItsSurface)
{
    settings::setz& s = open();
    s.Frame1.move(0, 0, 10, 10);
    s.Frame2.move(0, 0, 10, 10);
    s.Label4.click();
    EXPECT_EQ(s.Frame1.left(), 2040);
    EXPECT_EQ(s.Frame2.top(), 3240);

    for (runtime::Control* surface :
        { static_cast<runtime::Control*>(nullptr), static_cast<runtime::Control*>(&s.Label1),
            static_cast<runtime::Control*>(&s.Label2), static_cast<runtime::Control*>(&s.Label4) }) {
        SCOPED_TRACE(surface ? surface->name() : "window");
        const int left = s.left();
        const int top = s.top();
        const runtime::MouseEvent press { runtime::RightButton, 0, 100, 100 };
        const runtime::MouseEvent move { runtime::RightButton, 0, 130, 150 };
        const runtime::MouseEvent release { runtime::NoButton, 0, 130, 150 };
        if (surface) {
            surface->mouseDown(press);
            surface->mouseMove(move);
            surface->mouseUp(release);
            surface->mouseMove({ runtime::NoButton, 0, 400, 400 });
        } else {
            s.mouseDown(press);
            s.mouseMove(move);
            s.mouseUp(release);
            s.mouseMove({ runtime::NoButton, 0, 400, 400 });
        }
        EXPECT_EQ(s.left(), left + 30);
        EXPECT_EQ(s.top(), top + 50);
    }
}

TEST(SettingsModes, OptionsStartTheSkinTimersOfTheOpenWindows)
{
    // The hub page in view decides which feature windows are open besides the music window
    // (which the hub reloads hidden to read its height).
    struct Row {
        const char* name;
        const char* tile;
        const char* window;
        bool plainRefresh; // its skin timer runs for the plain-colour option too
    };
    const Row rows[] = {
        { "toolbox", "工具箱", "tool", false },
        { "online_video", "在线影音", "Form5", false },
        { "video_download", "视频下载", "Form2", true },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestProgram p;
        p.start();
        p.app.runUntilIdle();
        shell::moban& hub = p.app.get<shell::moban>();
        hub.selectTile(r.tile);
        p.app.runUntilIdle();
        p.app.unload<settings::setz>();
        hub.Label5.click();
        settings::setz& s = p.app.get<settings::setz>();
        music::Form1& music = p.app.get<music::Form1>();
        runtime::Form& window = *p.app.loadedForm(r.window);
        auto& timer = static_cast<runtime::Timer&>(*window.control("Timer5"));
        ASSERT_FALSE(music.painted().picture.empty());

        s.Option1.click();
        EXPECT_EQ(p.app.get<traymenu::Form6>().Text4.text(), "chun");
        EXPECT_TRUE(music.Timer5.enabled());
        EXPECT_EQ(timer.enabled(), r.plainRefresh);
        EXPECT_FALSE(hub.Timer1.enabled());
        p.app.advance(1);
        for (runtime::Form* f : { static_cast<runtime::Form*>(&music), static_cast<runtime::Form*>(&hub),
                 &window, static_cast<runtime::Form*>(&s) })
            EXPECT_TRUE(f->painted().picture.empty() && f->picture().empty()) << f->name();

        // Picture mode with the settings file deleted meanwhile: every open window repaints
        // and the file comes back from the cache.
        std::filesystem::remove(p.dataFile("skin/ini.db"));
        s.Option2.click();
        EXPECT_EQ(p.app.get<traymenu::Form6>().Text4.text(), "tu + chun");
        for (runtime::Timer* t : { &music.Timer5, &timer, &hub.Timer1 })
            EXPECT_TRUE(t->enabled()) << t->form().name();
        p.app.advance(1);
        for (runtime::Form* f :
            { static_cast<runtime::Form*>(&music), static_cast<runtime::Form*>(&hub), &window })
            EXPECT_FALSE(f->painted().picture.empty()) << f->name();
        const std::string jpg = p.dataFile("skin/zelv.jpg");
        EXPECT_EQ(readBytes(p.dataFile("skin/ini.db")), "11599360\r\n" + jpg + "\r\ntu + chun\r\n");
        // Windows that are not open are not loaded just to be repainted.
        for (const char* other : { "tool", "Form5", "Form2" }) {
            if (std::string(other) != r.window) {
                EXPECT_EQ(p.app.loadedForm(other), nullptr) << other;
            }
        }
    }
}
