# The settings window opens over the hub and closes; the tray menu's entries show their
# windows; its exit entry asks, and ends the program cleanly on 是.
desktop_start
program_start

note "settings"
click moban.Label5
wait_until window_shown setz || fail "the settings window did not open"
expect_above setz moban
expect_screen 5 settings drawn "$(rect_of window setz)"
click setz.Command2
wait_until window_hidden setz || fail "the settings window did not close"
expect_alive "after the settings window closed"

note "tray menu"
open_tray_menu() {
    click tray 3
    wait_until -t 5 centre_of "menu:$1" >/dev/null || fail "the tray menu did not open"
}
for entry in 在线影视:Form5 打开工具箱:tool 下载视频:Form2 在线音乐:Form1; do
    open_tray_menu "${entry%%:*}"
    [ "$entry" != "在线影视:Form5" ] || screenshot tray-menu
    click "menu:${entry%%:*}"
    wait_until window_shown "${entry#*:}" || fail "${entry%%:*} did not show ${entry#*:}"
    expect_above "${entry#*:}" moban
    expect_alive "after the tray menu's ${entry%%:*}"
done

note "exit"
open_tray_menu 退出播放器
click menu:退出播放器
wait_until dialog_open || fail "the exit question did not appear"
screenshot exit-question
expect_alive "while it asks whether to end"
xdotool key Escape
wait_until dialog_closed || fail "the exit question did not close"
expect_alive "after the question was declined"
open_tray_menu 退出播放器
click menu:退出播放器
wait_until dialog_open || fail "the exit question did not appear"
xdotool key alt+y
wait_until -t 10 bash -c "! kill -0 $PROGRAM_PID" || fail "the program did not end after 是"
status=0
wait "$PROGRAM_PID" || status=$?
PROGRAM_PID=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
