#include <gtest/gtest.h>

#include "music/site_list_window.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"
#include "video/video_window.h"

using testing_support::TestProgram;

namespace {

class SiteListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.config->set("maker_site", "https://maker.example");
        p.start();
        p.app.advance(1);
        p.app.get<video::Form2>().Label5.click();
    }
    music::Form3& w() { return p.app.get<music::Form3>(); }
    TestProgram p;
};

} // namespace

TEST_F(SiteListTest, EveryButtonOpensItsSite)
{
    EXPECT_TRUE(w().modal());
    EXPECT_EQ(w().owner(), &p.app.get<video::Form2>());
    EXPECT_EQ(w().Label1.caption(), "本软件支持以下网站视频的解析");
    // The built-in picture.
    EXPECT_EQ(*w().picture().bytes, *p.app.get<traymenu::Form6>().Image1.picture().bytes);
    // Each row: the button, its caption and the page it opens.
    const auto rows = testing_support::testRows("music/site_list.tsv");
    EXPECT_EQ(rows.size(), 19u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        runtime::Control& button = *w().control(row.at(0));
        EXPECT_EQ(button.caption(), row.at(1));
        button.click();
        EXPECT_EQ(p.shell->takeLaunches(), std::vector<std::string> { "open " + row.at(2) }) << row.at(0);
        EXPECT_TRUE(w().visible());
    }
    EXPECT_EQ(w().Command20.caption(), "我已经了解，关闭弹窗");
    w().Command20.click();
    EXPECT_FALSE(p.app.isLoaded<music::Form3>());
}
