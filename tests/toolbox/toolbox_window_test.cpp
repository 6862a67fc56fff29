#include <gtest/gtest.h>

#include "platform/processes.h"
#include "support/test_program.h"
#include "toolbox/runner_window.h"
#include "toolbox/toolbox_window.h"

using testing_support::TestProgram;

namespace {

class SomeProcesses : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> list() const override
    {
        std::vector<platform::ProcessInfo> out;
        for (const std::string& d : names)
            out.push_back({ 1, d });
        return out;
    }
    std::vector<std::string> names;
};

class ToolboxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.app.provide<platform::Processes>(processes);
        p.start();
        p.app.advance(1);
    }
    toolbox::tool& w() { return p.app.get<toolbox::tool>(); }
    void addTool(const char* name)
    {
        testing_support::writeBytes(p.dataFile(std::string("tool/") + name), "x");
    }

    TestProgram p;
    std::shared_ptr<SomeProcesses> processes = std::make_shared<SomeProcesses>();
};

} // namespace

TEST_F(ToolboxTest, TilesWithoutPreconditionOpenTheRunnerModallyInTheirMode)
{
    const struct {
        const char* tile;
        const char* mode;
    } rows[] = { { "Image2", "QQ" }, { "Image3", "IP" }, { "Image4", "TQ" }, { "Image5", "TL" },
        { "Image7", "WF" }, { "Image10", "meitu" } };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.tile);
        w().control(r.tile)->click();
        toolbox::tooldiao* runner = p.app.find<toolbox::tooldiao>();
        ASSERT_NE(runner, nullptr);
        EXPECT_EQ(runner->qie.text(), r.mode);
        EXPECT_TRUE(runner->modal());
        EXPECT_EQ(runner->owner(), &w());
        p.app.unload<toolbox::tooldiao>();
    }
}

TEST_F(ToolboxTest, LocalToolsOpenWhenPresentAndOtherwiseOfferTheMakersSite)
{
    addTool("speed.exe");
    w().Image6.click();
    ASSERT_TRUE(p.app.isLoaded<toolbox::tooldiao>());
    EXPECT_EQ(p.app.get<toolbox::tooldiao>().qie.text(), "JS");
    p.app.unload<toolbox::tooldiao>();

    p.dialogs->queueAnswer(platform::AnswerNo);
    w().Image8.click();
    auto shown = p.dialogs->takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].request.text.rfind("LSP自动修复 是Zelvora安装版才具有的功能", 0), 0u);
    EXPECT_EQ(shown[0].request.buttons, platform::YesNo);
    EXPECT_FALSE(p.app.isLoaded<toolbox::tooldiao>());
    EXPECT_TRUE(p.shell->takeLaunches().empty());

    p.dialogs->queueAnswer(platform::AnswerYes);
    std::filesystem::remove(p.dataFile("tool/speed.exe"));
    w().Image6.click();
    shown = p.dialogs->takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].request.text.rfind("系统加速 是Zelvora安装版", 0), 0u);
    EXPECT_EQ(p.shell->takeLaunches(), std::vector<std::string> { "open " + p.config->get("maker_site") });

    // A folder of that name counts as present, as a directory query finds it.
    std::filesystem::create_directories(p.dataFile("tool/lsp.exe"));
    w().Image8.click();
    EXPECT_EQ(p.app.get<toolbox::tooldiao>().qie.text(), "LSP");
}

TEST_F(ToolboxTest, BroadbandTileRefusesWhileEitherFirewallProcessRuns)
{
    // Each row of firewall.tsv: whether the tune-up is refused, then the processes running (the
    // description is looked for inside the name).
    for (const auto& r : testing_support::testRows("toolbox/firewall.tsv")) {
        const bool refused = r.at(0) == "refused";
        processes->names.assign(r.begin() + 1, r.end());
        w().Image9.click();
        const std::string refusal
            = "软件检测到您安装了360防火墙，请先关闭防火墙，否则加速会失败，本程序已经自动结束加速进程";
        EXPECT_EQ(p.messages(), refused ? std::vector<std::string> { refusal } : std::vector<std::string> {})
            << testing::PrintToString(processes->names);
        EXPECT_EQ(p.app.isLoaded<toolbox::tooldiao>(), !refused);
        if (!refused) {
            EXPECT_EQ(p.app.get<toolbox::tooldiao>().qie.text(), "KDJS");
        }
        p.app.unload<toolbox::tooldiao>();
    }
}

TEST_F(ToolboxTest, HoverBordersATileUntilTheMouseIsOverTheBackground)
{
    w().Image4.mouseMove({ runtime::NoButton, 0, 5, 5 });
    w().Image9.mouseMove({ runtime::NoButton, 0, 5, 5 });
    EXPECT_EQ(w().Image4.borderStyle(), 1);
    EXPECT_EQ(w().Image9.borderStyle(), 1);
    w().mouseMove({ runtime::NoButton, 0, 1, 1 });
    for (runtime::Image* t : w().tiles()) {
        EXPECT_EQ(t->borderStyle(), 0) << t->name();
        EXPECT_FALSE(t->picture().empty()) << t->name();
    }
}
