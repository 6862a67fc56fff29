#include <gtest/gtest.h>

#include "desklyrics/desk_lyrics_window.h"
#include "desklyrics/unlock_bar.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

using desklyrics::DeskLyricsSettings;
using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

TEST(DeskLyricsSettings, KeptFileReadDefensively)
{
    // Each row: the file's lines, what is read. Malformed or out-of-range values keep the
    // defaults; a place may be off the left or top of the screen (a second screen).
    const DeskLyricsSettings defaults;
    DeskLyricsSettings kept { true, true, -3000, 9000, 2, 3 };
    const std::vector<std::pair<std::vector<std::string>, DeskLyricsSettings>> rows {
        { {}, defaults },
        { desklyrics::settingsLines(kept), kept },
        { { "shown=1\r", "locked=1\r", "left=-3000\r", "top=9000\r", "size=2\r", "scheme=3\r" }, kept },
        { { "shown=2", "locked=yes", "left=9999999999", "top=", "size=3", "scheme=-1", "=", "garbage" },
            defaults },
        { { "size=1x", "scheme=4", "left=12 ", "top=0x10" }, defaults },
    };
    for (const auto& [lines, read] : rows)
        EXPECT_EQ(desklyrics::parseSettings(lines), read) << (lines.empty() ? "" : lines.front());
}

TEST(DeskLyrics, TrayMenuDrivesTheDeskLyrics)
{
    {
        TestProgram p;
        p.start();
        traymenu::Form6& tray = p.app.get<traymenu::Form6>();
        tray.geci.click();
        desklyrics::geci& bar = p.app.get<desklyrics::geci>();
        ASSERT_TRUE(bar.visible());
        EXPECT_TRUE(bar.floating());
        EXPECT_TRUE(tray.geci.checked());
        // A drag on the lines moves the window; the hover bar shows while the mouse is over it.
        bar.ci.mouseDown({ runtime::LeftButton, 0, 100, 40 });
        bar.ci.mouseMove({ runtime::LeftButton, 0, 60, 10 });
        bar.ci.mouseUp({ runtime::LeftButton, 0, 60, 10 });
        EXPECT_TRUE(bar.Frame1.visible());
        p.app.advance(5000);
        EXPECT_FALSE(bar.Frame1.visible());
        const int left = bar.left();
        const int top = bar.top();
        EXPECT_EQ(left, 240 * 15 - 40 * 15);
        EXPECT_EQ(top, 800 * 15 - 30 * 15);
        // Locked from the tray: clicks pass through, the tray item unlocks, no hover bar.
        tray.jiesuo.click();
        EXPECT_TRUE(bar.clickThrough());
        EXPECT_EQ(tray.jiesuo.caption(), desklyrics::geci::kUnlock);
        EXPECT_EQ(bar.suoding.caption(), desklyrics::geci::kUnlock);
        bar.ci.mouseMove({ runtime::NoButton, 0, 10, 10 });
        EXPECT_FALSE(bar.Frame1.visible());
        bar.zida.click();
        bar.sehong.click();
        EXPECT_TRUE(bar.zida.checked());
        EXPECT_FALSE(bar.zizhong.checked());
        const std::string kept = readBytes(p.dataFile(desklyrics::kSettingsFile));
        EXPECT_EQ(kept,
            "shown=1\r\nlocked=1\r\nleft=" + std::to_string(left) + "\r\ntop=" + std::to_string(top)
                + "\r\nsize=2\r\nscheme=1\r\n");
        // The next run starts with the bar as it was left.
        TestProgram next;
        writeBytes(next.dataFile(desklyrics::kSettingsFile), kept);
        next.start();
        desklyrics::geci* again = next.app.find<desklyrics::geci>();
        ASSERT_TRUE(again && again->visible());
        EXPECT_EQ(again->left(), left);
        EXPECT_TRUE(again->clickThrough());
        EXPECT_TRUE(again->zida.checked());
        // The locked bar gets no mouse events: the pointer resting over it shows the unlock
        // bar over its top strip, leaving hides it, and its button unlocks.
        auto unlockBarShown = [&] {
            const desklyrics::jiesuolan* unlockBar = next.app.find<desklyrics::jiesuolan>();
            return unlockBar && unlockBar->visible();
        };
        next.host.pointer = runtime::Host::ScreenPlace { again->left() + 10, again->top() + 200 };
        next.app.advance(300);
        ASSERT_TRUE(unlockBarShown());
        desklyrics::jiesuolan& unlock = next.app.get<desklyrics::jiesuolan>();
        EXPECT_EQ(unlock.top(), again->top());
        EXPECT_GT(unlock.left(), again->left());
        next.host.pointer = runtime::Host::ScreenPlace { again->left() - 10, again->top() + 200 };
        next.app.advance(300);
        EXPECT_FALSE(unlockBarShown());
        next.host.pointer = runtime::Host::ScreenPlace { unlock.left() + 15, unlock.top() + 15 };
        next.app.advance(300);
        ASSERT_TRUE(unlockBarShown());
        unlock.jie.click();
        EXPECT_FALSE(again->clickThrough());
        EXPECT_FALSE(unlockBarShown());
        next.app.advance(300);
        EXPECT_FALSE(unlockBarShown());
        EXPECT_FALSE(again->Timer2.enabled());
        again->suo.click();
        EXPECT_TRUE(again->clickThrough());
        // Unlocked from the tray, then closed from its own menu.
        next.app.get<traymenu::Form6>().jiesuo.click();
        EXPECT_FALSE(again->clickThrough());
        again->guanbi.click();
        EXPECT_FALSE(again->visible());
        EXPECT_NE(readBytes(next.dataFile(desklyrics::kSettingsFile)).find("shown=0"), std::string::npos);
    }
}
