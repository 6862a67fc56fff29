#include <gtest/gtest.h>

#include "music/music_window.h"
#include "resources/resources.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

TEST(Startup, FirstStartOnAnEmptyProfile)
{
    TestProgram p;
    p.env->setCodePage("GBK");
    p.start();
    EXPECT_EQ(readBytes(p.dataFile("skin/zelv.jpg")), std::string(resources::get("pictures/skin.jpg")));
    const std::string bytes = readBytes(p.dataFile("skin/ini.db"));
    // "本文件" in GBK.
    EXPECT_NE(bytes.find("\xb1\xbe\xce\xc4\xbc\xfe"), std::string::npos);
    EXPECT_EQ(p.app.get<traymenu::Form6>().List1.list(3).rfind("本文件", 0), 0u);

    // The notification icon carries the padded tip.
    ASSERT_TRUE(p.tray->shown());
    EXPECT_EQ(vb::Len(p.tray->record().tip), 64);
    EXPECT_EQ(p.tray->record().tip.rfind("Zelvora影音管理\n看电影、下视频、听音乐，你值得收藏", 0), 0u);
}

TEST(Startup, ExistingSettingsAreReadNotRewritten)
{
    // Each row of settings_files.tsv: the file ("JPG" names the skin picture), whether the hub
    // wears a picture, its colour, the mode read, and what the skin picture holds if written.
    for (const auto& r : testing_support::testRows("shell/settings_files.tsv", true)) {
        SCOPED_TRACE(r.name);
        const std::string mode = r.at(3);
        TestProgram p;
        const std::string jpg = p.dataFile("skin/zelv.jpg");
        const std::string file = vb::Replace(r.at(0), "JPG", jpg);
        writeBytes(p.dataFile("skin/ini.db"), file);
        if (r.size() > 4)
            writeBytes(jpg, r[4]);
        p.start();
        if (r.size() > 4) {
            EXPECT_EQ(readBytes(jpg), r[4]);
        }
        shell::moban& hub = p.app.get<shell::moban>();
        EXPECT_EQ(readBytes(p.dataFile("skin/ini.db")), file);
        EXPECT_EQ(!hub.painted().picture.empty(), r.at(1) == "1");
        EXPECT_EQ(hub.backColor(), std::stoll(r.at(2)));
        EXPECT_EQ(p.app.get<traymenu::Form6>().Text4.text(), mode);
        const bool plain = mode == "chun";
        if (plain || mode == "tu + chun") {
            EXPECT_EQ(p.app.get<settings::setz>().Label1.backStyle(),
                plain ? runtime::Opaque : runtime::Transparent);
        }
        if (plain) {
            EXPECT_EQ(p.app.get<shell::Form4>().Label1.backColor(), std::stoll(r[2]));
            EXPECT_TRUE(p.app.get<music::Form1>().painted().picture.empty());
        }
    }
}
