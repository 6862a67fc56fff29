// Lines made of random pieces of real commands: whatever a script holds, the console answers
// every line and keeps reading.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "console/test_windows.h"

namespace {

// Every command but quit, and addresses and words of every shape; the panel's controls that
// end the program or close the panel are left out so each run goes on to the end.
const std::vector<std::string> kCommands = { "click", "dblclick", "select", "mousedown", "mouseup",
    "mousemove", "type", "scroll", "drop", "menu", "tray", "answer", "media", "wait", "idle", "get", "expect",
    "forms", "messages", "launches", "media-log", "browser-log", "popups", "echo", "cookie", "bogus", "#" };
const std::vector<std::string> kWords = { "Panel.Command1", "Panel.Ask", "Panel.Open", "Panel.List1",
    "Panel.List2", "Panel.Combo1", "Panel.HScroll1", "Panel.Text1", "Panel.Locked", "Panel.Label1",
    "Panel.Option1", "Panel.Frame1", "Panel.Timer1", "Panel.Player", "Panel.Browser", "Panel.Go",
    "Panel.Start", "Panel.Pop", "Panel.ShowDialog", "Panel.Minimise", "Panel.mnuOpen", "Panel.mnuOff",
    "Panel.List1.item.1", "Panel.List1.items", "Panel", "Panel.Panel", "Dialog.OK", "Dialog.More",
    "Helper.Apply", "Never.x", "Nowhere.y", "TrayOwner.pic", ".", "..", "Panel.", ".x", "left", "right",
    "double", "yes", "no", "ok", "cancel", "file", "folder", "-1", "0", "1", "2", "3", "100", "101",
    "99999999999999999999", "1.5", "-0", "+", "1e9", "\"quoted words\"", "\"\"", "\"unclosed", "x\"y",
    "\"a\"b", "\"\\\"\"", "\"\\\\\"", "\\", "#", "\"tab\\there\"", "中文" };

std::string randomLine(std::mt19937& rng)
{
    std::uniform_int_distribution<size_t> command(0, kCommands.size() - 1);
    std::uniform_int_distribution<size_t> word(0, kWords.size() - 1);
    std::uniform_int_distribution<int> count(0, 5);
    std::string line = kCommands[command(rng)];
    for (int i = count(rng); i > 0; --i)
        line += (rng() % 4 ? " " : "\t") + kWords[word(rng)];
    return line;
}

TEST(ConsoleRobustness, RandomLinesNeverStopTheConsole)
{
    std::mt19937 rng(20240613);
    for (int run = 0; run < 20; ++run) {
        std::string script;
        for (int i = 0; i < 150; ++i)
            script += randomLine(rng) + (rng() % 10 ? "\n" : "\r\n");
        script += "echo end of run\n";
        const console_test::ScriptRun result = console_test::runScript(script);
        const std::string tail = "end of run\n";
        ASSERT_GE(result.output.size(), tail.size()) << script;
        EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail) << script;
        EXPECT_TRUE(result.status == 0 || result.status == 1);
    }
}

} // namespace
