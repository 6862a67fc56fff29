# A tray host that starts after the program (a slow session, a panel restarting) gets the
# icon, its menu works, and the hub's × then closes to the tray instead of asking to exit.
DESKTOP_TRAY=late desktop_start
program_start
tray_shown() { awk '$1 == "tray" { found = 1 } END { exit !found }' "$LAYOUT"; }
tray_shown && fail "an icon is reported without a tray host"
tray_start
wait_until -t 5 tray_shown || fail "the icon did not come to the late tray host within 5 s"
# The icon sits in trayer's strip at the bottom of the screen.
at_bottom() { awk '$1 == "tray" { exit !($3 > 900) }' "$LAYOUT"; }
at_bottom || fail "the icon is not in the tray host ($(grep '^tray' "$LAYOUT"))"
screenshot icon
click tray 3
wait_until -t 5 centre_of "menu:退出播放器" >/dev/null || fail "the late icon's menu did not open"
xdotool key Escape
click moban.Label3
wait_until window_hidden moban || fail "the hub's × did not close to the tray"
expect_alive "after the hub closed to the late tray"
