#include "toolbox/runner_fixture.h"

using ToolboxTest = testing_support::RunnerTest;

TEST_F(ToolboxTest, TilesWithoutPreconditionOpenTheRunnerModallyInTheirMode)
{
    // Each row of tiles.tsv: the tile and the mode its runner opens in.
    for (const auto& r : testing_support::testRows("toolbox/tiles.tsv")) {
        SCOPED_TRACE(r.name);
        box().control(r[0])->click();
        toolbox::tooldiao* runner = p.app.find<toolbox::tooldiao>();
        ASSERT_NE(runner, nullptr);
        EXPECT_EQ(runner->qie.text(), r.at(1));
        EXPECT_TRUE(runner->modal());
        EXPECT_EQ(runner->owner(), &box());
        p.app.unload<toolbox::tooldiao>();
    }
}

TEST_F(ToolboxTest, LocalToolTilesDependOnTheToolBeingPresent)
{
    testing_support::writeBytes(tool("speed.exe"), "x");
    box().Image6.click();
    ASSERT_TRUE(p.app.isLoaded<toolbox::tooldiao>());
    EXPECT_EQ(p.app.get<toolbox::tooldiao>().qie.text(), "JS");
    p.app.unload<toolbox::tooldiao>();

    p.dialogs->queueAnswer(platform::AnswerNo);
    box().Image8.click();
    auto shown = p.dialogs->takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].request.text.rfind("LSP自动修复 是Zelvora安装版才具有的功能", 0), 0u);
    EXPECT_EQ(shown[0].request.buttons, platform::YesNo);
    EXPECT_TRUE(p.shell->takeLaunches().empty());

    p.dialogs->queueAnswer(platform::AnswerYes);
    std::filesystem::remove(tool("speed.exe"));
    box().Image6.click();
    shown = p.dialogs->takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].request.text.rfind("系统加速 是Zelvora安装版", 0), 0u);
    EXPECT_EQ(p.shell->takeLaunches(), std::vector<std::string> { "open " + p.config->get("maker_site") });

    // A folder of that name counts as present, as a directory query finds it.
    std::filesystem::create_directories(tool("lsp.exe"));
    box().Image8.click();
    EXPECT_EQ(p.app.get<toolbox::tooldiao>().qie.text(), "LSP");
}

TEST_F(ToolboxTest, BroadbandTileRefusesWhileEitherFirewallProcessRuns)
{
    // Each row of firewall.tsv: whether the tune-up is refused, then the processes running (the
    // description is looked for inside the name).
    for (const auto& r : testing_support::testRows("toolbox/firewall.tsv")) {
        SCOPED_TRACE(r.name);
        const bool refused = r.at(0) == "refused";
        processes->names.assign(r.begin() + 1, r.end());
        box().Image9.click();
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
    box().Image4.mouseMove({ runtime::NoButton, 0, 5, 5 });
    box().Image9.mouseMove({ runtime::NoButton, 0, 5, 5 });
    EXPECT_EQ(box().Image4.borderStyle(), 1);
    EXPECT_EQ(box().Image9.borderStyle(), 1);
    box().mouseMove({ runtime::NoButton, 0, 1, 1 });
    for (runtime::Image* t : box().tiles()) {
        EXPECT_EQ(t->borderStyle(), 0) << t->name();
        EXPECT_FALSE(t->picture().empty()) << t->name();
    }
}
