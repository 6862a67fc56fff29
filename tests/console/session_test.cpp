// Scripts run against the test windows: what the console prints for each and its exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "console/test_windows.h"
#include "support/fixture_server.h"
#include "support/temp_dir.h"

namespace {

using console_test::runScript;
using console_test::ScriptRun;

namespace fs = std::filesystem;

// Each NAME.script under tests/data/console is run against the test windows; the console
// must print exactly NAME.out and end with the status named on the script's first line
// ("# exit status N").
std::vector<std::string> scriptNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(testing_support::testData("console")))
        if (entry.path().extension() == ".script")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What a script must print: its NAME.out, where a line "ok  # WHAT" stands for the "ok" an
// expect prints, WHAT saying what it checked.
std::string expectedOutput(const fs::path& base)
{
    std::istringstream lines(testing_support::readBytes(base.string() + ".out"));
    std::string out;
    for (std::string line; std::getline(lines, line);)
        out += (line.rfind("ok  # ", 0) == 0 ? "ok" : line) + (lines.eof() ? "" : "\n");
    return out;
}

class ConsoleScript : public ::testing::TestWithParam<std::string> { };

TEST_P(ConsoleScript, PrintsWhatTheScriptObserves)
{
    const fs::path base = testing_support::testData("console/" + GetParam());
    const std::string script = testing_support::readBytes(base.string() + ".script");
    const std::string header = "# exit status ";
    ASSERT_EQ(script.rfind(header, 0), 0u) << "the script does not name its exit status";
    const ScriptRun run = runScript(script);
    EXPECT_EQ(run.output, expectedOutput(base));
    EXPECT_EQ(run.status, std::stoi(script.substr(header.size())));
}

INSTANTIATE_TEST_SUITE_P(Commands, ConsoleScript, ::testing::ValuesIn(scriptNames()),
    [](const ::testing::TestParamInfo<std::string>& script) { return script.param; });

TEST(ConsolePages, PageLoadsFinishAsTimePasses)
{
    testing_support::FixtureServer server;
    server.addPage("/slow-links", "<html><body><a href='/a'>a</a><a href='/b'>b</a></body></html>");
    const std::string page = server.url("/slow/300");
    const std::string links = server.url("/slow-links");
    const ScriptRun run = runScript("type Panel.Address \"" + links
            + "\"\n"
              "click Panel.Go\n"
              "wait 1\n"
              "get Panel.events\n"
              "type Panel.Address \""
            + page
            + "\"\n"
              "click Panel.Go\n"
              "get Panel.Browser.busy\n"
              "wait 0\n"
              "get Panel.Browser.busy\n"
              "get Panel.Browser.location\n",
        true, true);
    EXPECT_EQ(run.output, "Poll 2 links\ntrue\nfalse\n" + page + "\n");
    EXPECT_EQ(run.status, 0);
}

TEST(ConsoleTray, ClickingWithoutAnIconIsAnError)
{
    const ScriptRun run = runScript("tray right\npopups\n", false);
    EXPECT_EQ(run.output, "error: no notification icon is shown\n");
    EXPECT_EQ(run.status, 1);
}

} // namespace
