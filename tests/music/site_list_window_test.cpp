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

TEST_F(SiteListTest, EveryButtonOpensItsSiteAndThePopupStaysOpen)
{
    const struct {
        const char* button;
        const char* caption;
        const char* page;
    } rows[] = {
        { "Command1", "乐视", "https://www.letv.com/" },
        { "Command2", "迅雷看看", "https://vod.kankan.com/" },
        { "Command3", "激动网", "https://www.joy.cn/" },
        { "Command4", "网易视频", "https://v.163.com/" },
        { "Command5", "新浪视频", "https://video.sina.com.cn/" },
        { "Command6", "腾讯视频", "https://v.qq.com/" },
        { "Command7", "PPS", "https://www.pps.tv/" },
        { "Command8", "风行", "https://www.funshion.com/" },
        { "Command9", "CNTV", "https://tv.cntv.cn/" },
        { "Command10", "凤凰视频", "https://v.ifeng.com/" },
        { "Command11", "酷6网", "https://v.ku6.com/" },
        { "Command12", "56网", "https://www.56.com/" },
        { "Command13", "优酷", "https://v.youku.com/" },
        { "Command14", "土豆", "https://www.tudou.com/" },
        { "Command15", "没有我想要的，点此申述", "https://maker.example/forbbs-30.html" },
        { "Command16", "华数TV", "https://www.wasu.cn/" },
        { "Command17", "糖豆网", "https://www.tangdou.com/" },
        { "Command18", "酷狗MV", "https://www.kugou.com/mvweb/html/index.html" },
        { "Command19", "音悦台", "https://v.yinyuetai.com/" },
    };
    for (const auto& row : rows) {
        runtime::Control& button = *w().control(row.button);
        EXPECT_EQ(button.caption(), row.caption);
        button.click();
        EXPECT_EQ(p.shell->takeLaunches(), std::vector<std::string> { std::string("open ") + row.page })
            << row.button;
        EXPECT_TRUE(w().visible());
    }
    EXPECT_EQ(w().Command20.caption(), "我已经了解，关闭弹窗");
    w().Command20.click();
    EXPECT_FALSE(p.app.isLoaded<music::Form3>());
}

TEST_F(SiteListTest, ShowsModallyOwnedByTheVideoWindowWithTheBuiltInPicture)
{
    const video::Form2& resolver = p.app.get<video::Form2>();
    EXPECT_TRUE(w().modal());
    EXPECT_EQ(w().owner(), &resolver);
    EXPECT_EQ(w().caption(), "Zelvora");
    EXPECT_EQ(w().Label1.caption(), "本软件支持以下网站视频的解析");
    EXPECT_FALSE(w().picture().empty());
    EXPECT_EQ(*w().picture().bytes, *p.app.get<traymenu::Form6>().Image1.picture().bytes);
}
