#include "toolbox/runner_fixture.h"

#include "platform/textfile.h"

using testing_support::RunnerTest;

using RunnerWebTest = RunnerTest;

TEST_F(RunnerWebTest, TheRunnerOpensIdleAndClosesFromItsCross)
{
    toolbox::tooldiao& w = open("meitu");
    EXPECT_FALSE(w.Command2.enabled());
    EXPECT_FALSE(w.Timer1.enabled());

    w.Label3.mouseMove({});
    EXPECT_EQ(w.Label3.backStyle(), runtime::Opaque);
    EXPECT_EQ(w.Label3.backColor(), 255);
    w.Label4.mouseMove({});
    EXPECT_EQ(w.Label3.backStyle(), runtime::Transparent);
    EXPECT_EQ(w.Label4.backColor(), 0x80FF80);
    w.mouseMove({});
    EXPECT_EQ(w.Label4.backStyle(), runtime::Transparent);
    w.Label4.click();
    EXPECT_EQ(w.windowState(), runtime::WindowState::Minimized);

    const std::string marker = platform::joinPath(p.env->desktopFolder(), "bro.cfg");
    testing_support::writeBytes(marker, "x");
    w.Label3.click();
    EXPECT_FALSE(runnerOpen());
    EXPECT_FALSE(platform::fileExists(marker));
}

TEST_F(RunnerWebTest, WebToolsLoadTheirPageAndResizeOnceTheBrowserIsIdle)
{
    const struct {
        const char* mode;
        const char* key;
        const char* path;
        double fontSize;
        const char* caption;
        int height, browserWidth, browserHeight;
    } rows[] = {
        { "IP", "tool.ip", "/dingwei", 70, "定位中...", 6800, 9000 + 300, 6800 + 600 },
        { "TQ", "tool.weather", "/aladdin/flash/weather/index.swf", 40, "正在读取中央预报...", 7000, 9000,
            7000 - 450 },
        { "meitu", "tool.meitu", "/main.html", 40, "正在读取远程数据...", 7000, 9000, 7000 - 450 },
        { "TL", "tool.astro", "/tal/tal.swf", 40, "正在读取占卜程序...", 7000, 9000, 7000 - 450 },
    };
    for (const auto& row : rows) {
        const auto& r = row;
        SCOPED_TRACE(r.mode);
        p.config->set(r.key, std::string("http://127.0.0.1:9/") + r.mode);
        p.app.get<toolbox::tool>().OpenToolWindow(r.mode);
        p.app.advance(1);
        toolbox::tooldiao& w = RunnerTest::r();
        EXPECT_EQ(w.Label2.caption(), r.caption);
        EXPECT_EQ(w.Label2.fontSize(), r.fontSize);
        EXPECT_EQ(w.WebBrowser1.location(), std::string("http://127.0.0.1:9/") + r.mode + r.path);
        EXPECT_TRUE(w.WebBrowser1.silent());
        p.app.advance(1);
        EXPECT_FALSE(w.Label2.visible());
        EXPECT_EQ(w.height(), r.height);
        EXPECT_EQ(w.WebBrowser1.left(), -10);
        EXPECT_EQ(w.WebBrowser1.top(), 450);
        EXPECT_EQ(w.WebBrowser1.width(), r.browserWidth);
        EXPECT_EQ(w.WebBrowser1.height(), r.browserHeight);
        p.app.unload<toolbox::tooldiao>();
    }

    net->online = false;
    for (const char* mode : { "IP", "TQ", "meitu", "TL", "QQ" }) {
        toolbox::tooldiao& w = open(mode);
        EXPECT_EQ(w.Label2.caption(), "网络已断开") << mode;
        EXPECT_TRUE(w.Label2.visible());
        EXPECT_FALSE(w.Command1.visible());
        EXPECT_TRUE(w.WebBrowser1.log().take().empty());
        p.app.unload<toolbox::tooldiao>();
    }
}

TEST_F(RunnerWebTest, ChatPercentEncodesTheNumberIntoTheLink)
{
    p.config->set("chat", "http://127.0.0.1:9");
    p.config->set("chat.site", "zel vora");
    toolbox::tooldiao& w = open("QQ");
    EXPECT_TRUE(w.Command1.visible());
    EXPECT_TRUE(w.Text1.visible());
    const struct {
        const char* typed;
        const char* uin;
    } rows[] = { { "12345", "12345" }, { "", "" }, { "1&Menu=no#", "1%26Menu%3Dno%23" },
        { "号码", "%E5%8F%B7%E7%A0%81" } };
    for (const auto& r : rows) {
        w.Text1.setText(r.typed);
        w.Command1.click();
        EXPECT_EQ(w.WebBrowser1.location(),
            std::string("http://127.0.0.1:9/msgrd?V=1&Uin=") + r.uin + "&Site=zel%20vora&Menu=yes");
    }
}

TEST_F(RunnerWebTest, LocalToolsStartWithoutAConnectionTest)
{
    for (const char* mode : { "JS", "LSP" }) {
        toolbox::tooldiao& w = open(mode);
        p.app.advance(1);
        EXPECT_EQ(w.Label2.caption(), "启动成功...");
        EXPECT_FALSE(w.jin.visible());
        const std::string program = std::string(mode) == "JS" ? "speed.exe" : "lsp.exe";
        EXPECT_EQ(
            p.shell->takeLaunches(), std::vector<std::string> { "start " + tool(program) + " style=4" });
        p.app.unload<toolbox::tooldiao>();
    }
    EXPECT_TRUE(net->probes.empty());
}
