# The program on a Wayland session: sway nested on the virtual display (run as the ordinary user
# a compositor needs), the program started from the session as a launcher starts it. By default
# it runs through XWayland, natively when the person chooses; either way its feature window is
# drawn inside the hub's window, which the compositor moves when the hub is dragged, and natively
# the window carries the desktop entry's name as its app id. Either way the compositor's close of the hub is a close
# (here, without a tray: the exit question). One compositor serves both.
DESKTOP_WM=none DESKTOP_TRAY=late desktop_start 1024x768
user=$(id -un)
[ "$(id -u)" != 0 ] || user=nobody
as_user() { if [ "$user" = "$(id -un)" ]; then "$@"; else runuser -u "$user" -- "$@"; fi; }
session="$DESKTOP_WORK/session"
mkdir -p "$session/runtime" "$session/profile" "$session/home"
chmod 700 "$session/runtime"
chmod 755 "$DESKTOP_WORK"
chown -R "$user" "$session"
printf 'xwayland enable\ndefault_border none\nfocus_follows_mouse no\n' >"$session/sway.conf"
chmod 644 "$session/sway.conf"
as_user env -i PATH=/usr/bin:/bin HOME="$session/home" DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$session/runtime" \
    WLR_BACKENDS=x11 WLR_RENDERER=pixman WLR_X11_OUTPUTS=1 sway -c "$session/sway.conf" \
    >"$DESKTOP_WORK/sway.err" 2>&1 &
HELPER_PIDS+=($!)
sway_socket() { compgen -G "$session/runtime/sway-ipc.*.sock" | head -n1; }
sway_ready() { [ -n "$(sway_socket)" ] && [ -S "$session/runtime/wayland-1" ]; }
wait_until -t 40 sway_ready || fail "sway did not start: $(tail -n 5 "$DESKTOP_WORK/sway.err")"
sway() { as_user swaymsg -s "$(sway_socket)" "$@"; }
LAYOUT="$session/layout"
PROFILE="$session/profile"

# Starts the program from the session with extra environment words (and the files in
# SESSION_FILES); returns once the hub shows.
session_program_start() {
    rm -f "$LAYOUT" "$session/pid"
    # A script of its own: sway reads "$" in a command as its variables.
    printf '#!/bin/sh\necho $$ >%s/pid\nexec env %s ZELVORA_INSTANCE=%s QTWEBENGINE_DISABLE_SANDBOX=1 ZELVORA_LAYOUT_REPORT=%s %s --profile %s --config %s %s >%s/program.out 2>%s/program.err\n' \
        "$session" "$*" "$ZELVORA_INSTANCE" "$LAYOUT" "$ZELVORA" "$PROFILE" "$SUITE_DIR/../scripts/offline.cfg" \
        "${SESSION_FILES:-}" "$session" "$session" >"$session/start.sh"
    chmod 755 "$session/start.sh"
    sway exec "$session/start.sh" >/dev/null
    wait_until -t 10 test -s "$session/pid" || fail "the session did not start the program"
    PROGRAM_PID=$(cat "$session/pid")
    wait_until -t 30 window_shown moban || fail "the hub did not appear: $(tail -n 5 "$session/program.err")"
}
uses_platform() { grep -q "libq$1" "/proc/$PROGRAM_PID/maps"; }
# "X Y W H" of the session's window of the program named by a sway criterion.
sway_rect() {
    sway -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
key, value = sys.argv[1].split("=", 1)
for n in walk(json.load(sys.stdin)):
    if str(n.get(key)) == value or str((n.get("window_properties") or {}).get(key)) == value:
        r = n["rect"]; print(r["x"], r["y"], r["width"], r["height"]); break
else: sys.exit(1)' "$1"
}
# Drags with the left button from a point by (DX, DY) in steps, as a hand does.
drag() {
    xdotool mousemove --sync "$1" "$2" mousedown 1
    for step in 1 2 3 4; do
        xdotool mousemove --sync $(($1 + $3 * step / 4)) $(($2 + $4 * step / 4))
        sleep 0.1
    done
    xdotool mouseup 1
}
# The feature window is drawn inside the hub's window (the compositor places every window of
# its own), and a drag on the hub's title moves that window through the compositor.
expect_drags_with_feature_window() {
    local criterion=$1 name=$2 hx hy hw hh
    wait_until -t 10 window_shown Form1 || fail "the feature window did not show ($name)"
    [ "$(window_id Form1)" = "$(window_id moban)" ] || fail "the feature window is a window of its own ($name)"
    read -r hx hy hw hh <<<"$(sway_rect "$criterion")"
    [ "$hh" -ge 700 ] || fail "the hub's window is not whole ($name: $hw x $hh)"
    screenshot "$name"
    drag $((hx + 600)) $((hy + 25)) -120 60
    moved() { read -r x y _ _ <<<"$(sway_rect "$criterion")"; [ "$x" -lt "$hx" ] && [ "$y" -gt "$hy" ]; }
    wait_until moved || fail "the compositor did not move the hub ($name): $hx $hy -> $(sway_rect "$criterion")"
    screenshot "$name-moved"
}
# The compositor's close asks whether to end (no tray here), and No keeps the program.
expect_close_asks() {
    sway "$1 kill" >/dev/null
    wait_until dialog_open || fail "the compositor's close of the hub did not reach it ($2)"
    screenshot "close-$2"
    xdotool key Escape
    wait_until dialog_closed || fail "the exit question did not close ($2)"
    expect_alive "after the exit question ($2)"
}

note "by default: through XWayland"
session_program_start
uses_platform xcb || fail "the program did not start through XWayland"
hub_id=$(window_id moban)
expect_drags_with_feature_window window="$hub_id" xwayland
expect_close_asks "[id=$hub_id]" xwayland
program_stop

note "through XWayland: the desktop lyrics bar over a playing song, moved by a drag"
songs="$session/songs"
mkdir -p "$songs"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=60" -c:a libmp3lame "$songs/qt.mp3" \
    || fail "ffmpeg did not make the song"
printf '[00:00.00]<00:00.00>故事的<00:03.00>小黄花<00:06.00>\n[00:06.00]从出生那年就飘着\n' >"$songs/qt.lrc"
chown -R "$user" "$songs"
SESSION_FILES="$songs/qt.mp3" session_program_start
wait_until -t 15 playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
click Form5.WindowsMediaPlayer1
xdotool key l
wait_until -t 5 window_shown geci || fail "the L key did not show the desktop lyrics"
read -r bx by _ _ <<<"$(rect_of window geci)"
read -r cx cy <<<"$(centre_of geci.ci)"
drag "$cx" "$cy" -100 -150
bar_moved() { read -r x y _ _ <<<"$(rect_of window geci)"; [ "$x" -le $((bx - 80)) ] && [ "$y" -le $((by - 120)) ]; }
wait_until -t 5 bar_moved || fail "the drag did not move the bar ($bx $by to $(rect_of window geci))"
screenshot xwayland-lyrics
program_stop
# (The bar would come back with the next start; the native part looks for the hub alone.)
rm -f "$PROFILE/my documents/zelv/desklyrics.ini"

note "natively, as the person may choose"
session_program_start QT_QPA_PLATFORM=wayland
uses_platform wayland || fail "the program did not run natively"
hub="app_id=cn.zelvora.Zelvora"
wait_until sway_rect "$hub" >/dev/null || fail "no window with the desktop entry's app id"
expect_drags_with_feature_window "$hub" native
expect_close_asks "[$hub]" native
