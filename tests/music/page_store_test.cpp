#include <gtest/gtest.h>

#include <filesystem>

#include "music/page_store.h"
#include "player/player_window.h"
#include "runtime/vbtext.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

// Every service page carries its title and frame (tests/data/music/pages.tsv); the shared
// layout with its document type line and the music TV's own page are files there byte for
// byte. Addresses with query strings, quotes and angle brackets must stay inside the src
// attribute.
TEST(ServicePages, EveryPageHasItsLayoutWithTheConfiguredPlayerAddress)
{
    TestProgram p;
    const auto rows = testing_support::testRows("music/pages.tsv");
    EXPECT_EQ(rows.size(), 12u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string key = vb::LCase(row.at(0));
        p.config->set("music." + key, "http://127.0.0.1:9/" + key + "?a=1&b=\"2\"<tv>");
    }
    p.start();
    music::music& store = p.app.get<music::music>();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const runtime::Control* label = store.control(row.at(0));
        ASSERT_NE(label, nullptr);
        const std::string page = label->caption();
        EXPECT_NE(page.find(row.at(1)), std::string::npos);
        EXPECT_NE(page.find(row.at(2)), std::string::npos);
        if (const auto file = testing_support::testData("music/" + row.at(0) + ".htm");
            std::filesystem::exists(file)) {
            EXPECT_EQ(page, readBytes(file));
        }
    }
    EXPECT_EQ(music::servicePage("nosuchservice", "https://x/"), "");
}

TEST(PageStore, LoadWearsTheCachedSkin)
{
    // Each row of skins.tsv: the settings file ("{gif}" names a picture), the window's colour (-1:
    // it keeps its designed colour, not the saved one) and whether it wears the picture.
    for (const auto& r : testing_support::testRows("music/skins.tsv", true)) {
        SCOPED_TRACE(r.name);
        const int64_t backColor = std::stoll(r.at(1));
        const bool picture = r.at(2) == "1";
        TestProgram p;
        const std::string gif = p.dir.file("back.gif");
        writeBytes(gif, std::string("GIF89a\x02\x00\x03\x00", 10));
        writeBytes(p.dataFile("skin/ini.db"), vb::Replace(r.at(0), "{gif}", gif));
        p.start();
        ASSERT_FALSE(p.app.isLoaded<music::music>());
        music::music& store = p.app.get<music::music>();
        ASSERT_TRUE(p.app.isLoaded<player::Form5>());
        EXPECT_FALSE(store.visible());
        if (backColor >= 0) {
            EXPECT_EQ(store.backColor(), backColor);
        } else {
            EXPECT_NE(store.backColor(), 255);
        }
        EXPECT_EQ(store.picture().empty(), !picture);
        if (picture) {
            EXPECT_EQ(store.picture().source, gif);
        }
    }
}

TEST(PageStore, HoverMakesTheTitleLabelsTransparent)
{
    TestProgram p;
    p.start();
    music::music& store = p.app.get<music::music>();
    store.Label3.setBackStyle(runtime::Opaque);
    store.Label4.setBackStyle(runtime::Opaque);
    store.mouseMove({ runtime::NoButton, 0, 10, 10 });
    EXPECT_EQ(store.Label3.backStyle(), runtime::Transparent);
    EXPECT_EQ(store.Label4.backStyle(), runtime::Transparent);
}
