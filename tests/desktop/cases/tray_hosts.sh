# A desktop with no tray at all (stock GNOME), then a panel that shows the icon's menu itself
# over D-Bus (waybar, KDE Plasma), read here as such a panel reads it: without a tray the
# desktop's close of the hub asks whether to end; the panel's menu holds the designed entries,
# its exit entry asks, and a left click (Activate) brings back a hub closed to the tray.
if [ -z "${ZELVORA_PRIVATE_BUS:-}" ]; then
    exec env ZELVORA_PRIVATE_BUS=1 dbus-run-session -- bash "$SUITE_DIR/run_case.sh" "$ZELVORA" tray_hosts "$DESKTOP_WORK"
fi
DESKTOP_TRAY=late desktop_start
program_start
wait_until window_shown Form1 || fail "the online music window did not open"

note "no tray: the desktop's close asks whether to end"
close_by_key moban
wait_until dialog_open || fail "closing the hub without a tray did not ask whether to end"
screenshot no-tray-question
xdotool key Escape
wait_until dialog_closed || fail "the exit question did not close"
expect_alive "after the exit question was declined"
window_shown moban || fail "the hub closed although the person said no"

note "a panel that shows the icon's menu itself"
program_stop
items="$DESKTOP_WORK/items"
/usr/bin/python3 "$SUITE_DIR/notifier_watcher.py" "$items" &
HELPER_PIDS+=($!)
wait_until gdbus introspect --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher >/dev/null \
    || fail "the watcher did not start"
program_start
wait_until -t 10 test -s "$items" || fail "the icon did not register with the panel's watcher"
read -r item path <"$items"
sni() { gdbus call --session --dest "$item" --object-path "$@"; }
menu=$(sni "$path" --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu \
    | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
[ -n "$menu" ] && [ "$menu" != /NO_DBUSMENU ] || fail "the icon exports no menu (${menu:-none})"
layout=$(sni "$menu" --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]')
for entry in 打开工具箱 下载视频 在线音乐 在线影视 退出播放器; do
    grep -q "'$entry'" <<<"$layout" || fail "the exported menu lacks $entry: $layout"
done
exit_id=$(grep -oP "\(\K[0-9]+(?=, \{[^{}]*'label': <'退出播放器'>)" <<<"$layout")
[ -n "$exit_id" ] || fail "no item id for 退出播放器: $layout"

note "a left click brings back the hub closed to the tray"
click moban.Label3
wait_until window_hidden moban || fail "× did not close the hub to the panel's tray"
sni "$path" --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
wait_until window_shown moban || fail "a left click on the icon did not bring the hub back"
wait_until window_shown Form1 || fail "the hub came back without its child"

note "the panel's exit entry asks whether to end"
sni "$menu" --method com.canonical.dbusmenu.Event "$exit_id" clicked '<0>' 0 >/dev/null
wait_until dialog_open || fail "the panel's 退出播放器 did not ask whether to end"
screenshot panel-exit-question
xdotool key Escape
wait_until dialog_closed || fail "the exit question did not close"
expect_alive "after the panel's exit question was declined"
