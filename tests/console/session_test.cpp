// Scripts run against the test windows: each row is a script, what the console prints for it
// and its exit status.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "console/test_windows.h"
#include "support/fixture_server.h"

namespace {

using console_test::runScript;
using console_test::ScriptRun;

struct ScriptCase {
    const char* name;
    const char* script;
    const char* output;
    int status;
};

class ConsoleScript : public ::testing::TestWithParam<ScriptCase> { };

TEST_P(ConsoleScript, PrintsWhatTheScriptObserves)
{
    const ScriptCase& c = GetParam();
    const ScriptRun run = runScript(c.script);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.status, c.status);
}

const ScriptCase kCases[] = {
    { "ActingOnControlsRaisesTheirEvents",
        "click Panel.Command1\n"
        "type Panel.Text1 \"hi there\"\n"
        "select Panel.List1 1\n"
        "select Panel.List1 1\n"
        "dblclick Panel.List1 2\n"
        "dblclick Panel.List1\n"
        "scroll Panel.HScroll1 40\n"
        "click Panel.Option2\n"
        "click Panel.Option2\n"
        "get Panel.Option1.value\n"
        "get Panel.events\n",
        "false\n"
        "Command1_Click\n"
        "Text1_Change hi there\n"
        "List1_Click 1\n"
        "List1_Click 1\n"
        "List1_Click 2\n"
        "List1_DblClick 2\n"
        "List1_DblClick 2\n"
        "HScroll1_Change 40\n"
        "Option2_Click\n"
        "Option2_Click\n",
        0 },
    { "ComboBoxesListTheirEntriesAndTakeTypedText",
        "select Panel.Combo1 1\n"
        "type Panel.Combo1 \"gamma\"\n"
        "get Panel.Combo1\n"
        "get Panel.Combo1.text\n"
        "get Panel.events\n",
        "alpha\nbeta\ngamma\nCombo1_Click 1\nCombo1_Change gamma\n", 0 },
    { "MouseCommandsReachControlsAndTheWindowBackground",
        "mousedown Panel.Label1 left 10 20\n"
        "mousemove Panel.Label1 11 21\n"
        "mouseup Panel.Label1 left 11.5 21\n"
        "mousemove Panel.Label1\n"
        "mousedown Panel right\n"
        "mousemove Panel.Panel 3 4\n"
        "mouseup Panel.Panel right 3 4\n"
        "get Panel.events\n",
        "Label1_MouseDown 1 10 20\n"
        "Label1_MouseMove 1 11 21\n"
        "Label1_MouseUp 1 11.5 21\n"
        "Label1_MouseMove 0 0 0\n"
        "Form_MouseDown 2 0 0\n"
        "Form_MouseMove 2 3 4\n"
        "Form_MouseUp 2 3 4\n",
        0 },
    { "DroppedFilesReachAControlOrTheWindow",
        "drop Panel.List1 \"/a b.mp3\" /c.mp3\n"
        "drop Panel \"/d\"\n"
        "dblclick Panel\n"
        "get Panel.events\n",
        "List1_DragDrop /a b.mp3|/c.mp3\nForm_DragDrop /d\nForm_DblClick\n", 0 },
    { "QueuedAnswersGoToTheNextDialogAndMessagesAreListedOnce",
        "click Panel.Ask\n"
        "answer yes\n"
        "click Panel.Ask\n"
        "answer ok\n"
        "click Panel.Ask\n"
        "answer file \"/tmp/x.mp3\"\n"
        "click Panel.Open\n"
        "click Panel.Open\n"
        "answer folder \"/music\"\n"
        "click Panel.Folder\n"
        "get Panel.events\n"
        "messages\n"
        "messages\n",
        "Ask no\nAsk yes\nAsk no\nOpen /tmp/x.mp3\nOpen (cancelled)\nFolder /music\n"
        "Sure?\\nReally\tQuestion\tyesno\tno\n"
        "Sure?\\nReally\tQuestion\tyesno\tyes\n"
        "Sure?\\nReally\tQuestion\tyesno\tno\n",
        0 },
    { "LaunchesPopupsAndMenus",
        "click Panel.Launch\n"
        "launches\n"
        "launches\n"
        "click Panel.Pop\n"
        "popups\n"
        "popups\n"
        "menu Panel.mnuOpen\n"
        "menu Panel.mnuOff\n"
        "menu Panel.mnuChild\n"
        "menu Panel.Command1\n"
        "menu Never.mnuOpen\n"
        "get Panel.events\n",
        "open https://example.test/\n"
        "mnuFile\n"
        "error: Panel.mnuOff is disabled\n"
        "error: Panel.mnuChild is inside mnuOff, which is disabled\n"
        "error: Panel.Command1 is not a menu item\n"
        "error: Never is not loaded\n"
        "mnuOpen_Click\n",
        1 },
    { "EngineCallsAndPlayStates",
        "click Panel.Play\n"
        "media-log Panel.Player\n"
        "media-log Panel.Player\n"
        "media Panel.Player 1\n"
        "get Panel.Player\n"
        "click Panel.Go\n"
        "browser-log Panel.Browser\n"
        "get Panel.Browser.location\n"
        "media Panel.Browser 1\n"
        "browser-log Panel.Player\n"
        "get Panel.events\n",
        "url /music/a.mp3\nplay\n/music/a.mp3\n"
        "navigate http://127.0.0.1/page\nhttp://127.0.0.1/page\n"
        "error: Panel.Browser is not a media player\n"
        "error: Panel.Player is not a web browser\n"
        "Player_PlayStateChange 1\n",
        1 },
    { "VirtualTimeFiresTimersInOrder",
        "click Panel.Start\n"
        "wait 49\n"
        "get Panel.events\n"
        "wait 1\n"
        "get Panel.events\n"
        "echo --\n"
        "idle\n"
        "get Panel.events\n"
        "get Panel.Tick.enabled\n"
        "get Panel.Tick.interval\n",
        "Timer1_Timer\n--\nTimer1_Timer\nTick_Timer 1\nTick_Timer 2\nTick_Timer 3\nfalse\n100\n", 0 },
    { "IdleStopsAtItsLimit",
        "click Panel.Start\n"
        "idle 150\n"
        "get Panel.events\n",
        "Timer1_Timer\nTick_Timer 1\n", 0 },
    { "ValuesAndExpectations",
        "get Panel.Label1\n"
        "get Panel.Text1\n"
        "get Panel.List1\n"
        "get Panel.List1.item.1\n"
        "get Panel.List1.listCount\n"
        "get Panel.visible\n"
        "get Panel.loaded\n"
        "get Never.loaded\n"
        "get Dialog.loaded\n"
        "expect Panel.List1.listCount \"3\"\n"
        "expect Panel.Label1.caption \"a\\tb\\\\c\"\n"
        "expect Panel.List1.items \"one\\ntwo\\nthree\"\n"
        "expect Never.loaded \"false\"\n"
        "expect Panel.Label1 \"a\\tb\\\\c\"\n"
        "expect Panel.List1.listIndex \"0\"\n"
        "expect Panel.Label1 \"say \\\"hi\\\"\"\n",
        "a\\tb\\\\c\n\none\ntwo\nthree\ntwo\n3\ntrue\ntrue\nfalse\nfalse\n"
        "ok\nok\nok\nok\nok\n"
        "FAIL Panel.List1.listIndex: expected \"0\" got \"-1\"\n"
        "FAIL Panel.Label1: expected \"say \\\"hi\\\"\" got \"a\\tb\\\\c\"\n",
        1 },
    { "UnknownOrUnreadableThingsAreErrors",
        "get Panel.List1.item.3\n"
        "get Panel.List1.item.x\n"
        "get Never.visible\n"
        "get Nowhere.loaded\n"
        "get Panel.Nothing\n"
        "get Panel.Nothing.caption\n"
        "get Panel.Command1.text\n"
        "get Panel\n"
        "get .x\n"
        "expect Panel.Nothing \"1\"\n",
        "error: index 3 is out of range (Panel.List1 has 3 entries)\n"
        "error: item index \"x\" is not a number\n"
        "error: Never is not loaded\n"
        "error: unknown window Nowhere\n"
        "error: Panel has no control or property Nothing\n"
        "error: Panel has no control Nothing\n"
        "error: Panel.Command1 has no property text\n"
        "error: expected W.PROP, W.C or W.C.PROP, got \"Panel\"\n"
        "error: expected W.PROP, W.C or W.C.PROP, got \".x\"\n"
        "error: Panel has no control or property Nothing\n",
        1 },
    { "OnlyWhatAPersonCouldReachIsActedOn",
        "click Panel.Hidden\n"
        "click Panel.Disabled\n"
        "click Panel.InFrame\n"
        "click Panel.Timer1\n"
        "click Panel.mnuOpen\n"
        "type Panel.Locked \"x\"\n"
        "type Panel.Command1 \"x\"\n"
        "click Never.X\n"
        "click Nowhere.X\n"
        "click TrayOwner.pic\n"
        "click Panel.Nope\n"
        "click Panel\n"
        "click Panel.Command1.x\n"
        "click Panel.\n"
        "dblclick Panel.List2 0\n"
        "click Panel.ShowDialog\n"
        "forms\n"
        "click Panel.Command1\n"
        "mousedown Panel left\n"
        "drop Panel \"/x\"\n"
        "click Dialog.More\n"
        "click Helper.Apply\n"
        "get Helper.Result\n"
        "click Dialog.OK\n"
        "click Panel.Command1\n"
        "click Panel.Minimise\n"
        "click Panel.Command1\n"
        "get Panel.events\n",
        "error: Panel.Hidden is not visible\n"
        "error: Panel.Disabled is disabled\n"
        "error: Panel.InFrame is inside Frame2, which is disabled\n"
        "error: Panel.Timer1 is not visible\n"
        "error: Panel.mnuOpen is a menu item (use menu)\n"
        "error: Panel.Locked is locked\n"
        "error: Panel.Command1 is not a text box or combo box\n"
        "error: Never is not loaded\n"
        "error: unknown window Nowhere\n"
        "error: TrayOwner is not shown\n"
        "error: Panel has no control Nope\n"
        "error: expected W.C, got \"Panel\"\n"
        "error: expected W.C, got \"Panel.Command1.x\"\n"
        "error: missing control name after Panel.\n"
        "error: Panel.List2 is not visible\n"
        "TrayOwner hidden\nPanel shown\nDialog shown modal\n"
        "error: Panel is blocked by the modal window Dialog\n"
        "error: Panel is blocked by the modal window Dialog\n"
        "error: Panel is blocked by the modal window Dialog\n"
        "applied\n"
        "error: Panel is minimised\n"
        "Command1_Click\n",
        1 },
    { "MalformedLinesPrintAnErrorAndChangeNothing",
        "click \"Panel.Command1\n"
        "echo \"a\"b\n"
        "frobnicate\n"
        "click\n"
        "select Panel.List1\n"
        "select Panel.List1 one\n"
        "select Panel.List1 -1\n"
        "select Panel.List1 99999999999999999999\n"
        "select Panel.Command1 0\n"
        "dblclick Panel.Command1 0\n"
        "mousedown Panel.Label1 middle\n"
        "mousedown Panel.Label1 left 10\n"
        "mousemove Panel.Label1 x y\n"
        "mousemove Panel.Label1 1e999 2\n"
        "scroll Panel.HScroll1 101\n"
        "scroll Panel.HScroll1 4.5\n"
        "scroll Panel.Text1 4\n"
        "wait -1\n"
        "wait soon\n"
        "idle forever\n"
        "tray sideways\n"
        "answer maybe\n"
        "answer file\n"
        "answer yes please\n"
        "media Panel.Player playing\n"
        "drop Panel.List1 \"\"\n"
        "type \"Panel.Text1\nx\" y\n"
        "echo still here\n"
        "get Panel.events\n",
        "error: unclosed quote at column 7\n"
        "error: text right after a closing quote at column 9\n"
        "error: unknown command \"frobnicate\"\n"
        "error: usage: click W.C\n"
        "error: usage: select W.C INDEX\n"
        "error: index \"one\" is not a number\n"
        "error: index -1 is out of range (Panel.List1 has 3 entries)\n"
        "error: index \"99999999999999999999\" is not a number\n"
        "error: Panel.Command1 is not a list or combo box\n"
        "error: Panel.Command1 is not a list; only a list takes an INDEX\n"
        "error: mouse button must be left or right, got \"middle\"\n"
        "error: the position needs both X and Y\n"
        "error: position \"x\" \"y\" is not a number pair\n"
        "error: position \"1e999\" \"2\" is not a number pair\n"
        "error: value \"101\" is not a whole number from 0 to 100\n"
        "error: value \"4.5\" is not a whole number from 0 to 100\n"
        "error: Panel.Text1 is not a slider\n"
        "error: wait needs milliseconds from 0 to 2147483647, got \"-1\"\n"
        "error: wait needs milliseconds from 0 to 2147483647, got \"soon\"\n"
        "error: idle needs milliseconds from 0 to 2147483647, got \"forever\"\n"
        "error: tray takes left, right or double, got \"sideways\"\n"
        "error: usage: answer yes|no|ok|cancel, answer file \"PATH\" or answer folder \"PATH\"\n"
        "error: usage: answer yes|no|ok|cancel, answer file \"PATH\" or answer folder \"PATH\"\n"
        "error: usage: answer yes|no|ok|cancel, answer file \"PATH\" or answer folder \"PATH\"\n"
        "error: play state \"playing\" is not a number\n"
        "error: a dropped path is empty\n"
        "error: unclosed quote at column 6\n"
        "error: unknown command \"x\"\"\n"
        "still here\n",
        1 },
    { "CommentsBlankLinesAndLineEnds",
        "# a comment\n"
        "   \n"
        "echo  a   \"b c\"  \"d\\\"e\"  \"tab\\there\"\n"
        "   # indented comment\n"
        "echo\r\n"
        "quit\n"
        "echo not reached\n",
        "a b c d\"e tab\\there\n\n", 0 },
    { "TrayClicksReachTheIconsControlAndLeavingKeepsAnEarlierFailure",
        "click Panel.Nope\n"
        "tray left\n"
        "tray double\n"
        "tray right\n"
        "get TrayOwner.events\n"
        "popups\n"
        "menu TrayOwner.leave\n"
        "echo not reached\n",
        "error: Panel has no control Nope\n201\n202\n201\n202\n203\n202\n204\n205\nkuai\nprogram ended\n",
        1 },
    { "AnUnloadedWindowIsNoLongerReachable",
        "click Panel.CloseMe\n"
        "get Panel.loaded\n"
        "click Panel.Command1\n"
        "forms\n",
        "false\nerror: Panel is not loaded\nTrayOwner hidden\n", 1 },
};

INSTANTIATE_TEST_SUITE_P(Commands, ConsoleScript, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<ScriptCase>& info) { return std::string(info.param.name); });

TEST(ConsolePages, PageLoadsFinishBeforeTheNextTickAndWhenTimePasses)
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
