#include "toolbox/runner_fixture.h"

#include "platform/textfile.h"

using testing_support::RunnerTest;

using RunnerWebTest = RunnerTest;

TEST_F(RunnerWebTest, TheRunnerOpensIdleThenClosesFromItsCross)
{
    toolbox::tooldiao& w = open("meitu");
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

TEST_F(RunnerWebTest, WebToolsResizeOnceTheirPageLoads)
{
    // Each row of web_tools.tsv: the mode, its address key, the page, the caption's font size
    // and text, then the runner's height and the browser's width and height once idle.
    for (const auto& r : testing_support::testRows("toolbox/web_tools.tsv")) {
        SCOPED_TRACE(r.name);
        p.config->set(r.at(1), "http://127.0.0.1:9/" + r[0]);
        toolbox::tooldiao& w = open(r[0].c_str());
        EXPECT_EQ(w.Label2.fontSize(), std::stod(r.at(3)));
        EXPECT_EQ(w.Label2.caption(), r.at(4));
        EXPECT_EQ(w.WebBrowser1.location(), "http://127.0.0.1:9/" + r[0] + r[2]);
        p.app.advance(1);
        EXPECT_FALSE(w.Label2.visible());
        EXPECT_EQ(w.height(), std::stoi(r.at(5)));
        EXPECT_EQ(w.WebBrowser1.width(), std::stoi(r.at(6)));
        EXPECT_EQ(w.WebBrowser1.height(), std::stoi(r.at(7)));
        p.app.unload<toolbox::tooldiao>();
    }

    net->online = false;
    for (const char* mode : { "IP", "TQ", "meitu", "TL", "QQ" }) {
        toolbox::tooldiao& w = open(mode);
        EXPECT_EQ(w.Label2.caption(), "网络已断开") << mode;
        EXPECT_TRUE(w.WebBrowser1.log().take().empty());
        p.app.unload<toolbox::tooldiao>();
    }
}

TEST_F(RunnerWebTest, ChatPercentEncodesTheNumberIntoTheLink)
{
    p.config->set("chat", "http://127.0.0.1:9");
    p.config->set("chat.site", "zel vora");
    toolbox::tooldiao& w = open("QQ");
    const struct {
        const char* name;
        const char* typed;
        const char* uin;
    } rows[] = { { "digits", "12345", "12345" }, { "empty", "", "" },
        { "reserved_characters", "1&Menu=no#", "1%26Menu%3Dno%23" },
        { "chinese", "号码", "%E5%8F%B7%E7%A0%81" } };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
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
