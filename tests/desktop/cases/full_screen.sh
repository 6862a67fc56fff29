# Full screen ten times in a row, by the bar's button, the key F and a double click on the
# video, with a window manager and without: it covers the screen each time, the bar shows when
# the mouse moves and hides again, and leaving puts the video back where it was.
desktop_start
program_start
# A minute of video: it still plays when the ten rounds are over, however slow the machine.
make_video "$DESKTOP_WORK/green.avi" 1500
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/green.avi"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the video does not play"
player=$(rect_of control Form5.WindowsMediaPlayer1)
# The video's middle and the bar's full-screen button (the last square, 6 pixels from the right).
read -r vx vy < <(echo "$player" | awk '{ print int($1 + $3 / 2), int($2 + ($4 - 34) / 2) }')
read -r bx by < <(echo "$player" | awk '{ print $1 + $3 - 6 - 13, $2 + $4 - 17 }')
full() { awk '$1 == "fullscreen" { print $3, $4, $5, $6; exit }' "$LAYOUT"; }
covers_screen() { [ "$(full)" = "0 0 1280 1024" ]; }
left_full() { ! grep -q '^fullscreen' "$LAYOUT" && [ "$(rect_of control Form5.WindowsMediaPlayer1)" = "$player" ]; }
bar_shown() { grep -q '^fullscreen.* bar=1' "$LAYOUT"; }
bar_hidden() { grep -q '^fullscreen.* bar=0' "$LAYOUT"; }
# Moves the pointer to X Y from elsewhere (a --sync move to where it already is would wait).
to() { xdotool mousemove 1 1 mousemove --sync "$1" "$2"; }
toggle() {
    case $1 in
    button) to "$bx" "$by" && xdotool click 1 ;;
    key) to "$vx" "$vy" && xdotool click 1 key f ;;
    double) to "$vx" "$vy" && xdotool click --repeat 2 --delay 80 1 ;;
    esac
}
leave() {
    case $1 in
    button) to 1261 1007 && xdotool sleep 0.3 click 1 ;;
    key) xdotool key Escape ;;
    double) to 600 500 && xdotool click --repeat 2 --delay 80 1 ;;
    esac
}
round=0
for way in button button button key key key double double double button; do
    round=$((round + 1))
    if [ $round = 9 ]; then
        note "no window manager from here on"
        kill "${HELPER_PIDS[1]}"
        wait "${HELPER_PIDS[1]}" 2>/dev/null || true
    fi
    toggle "$way"
    wait_until -t 5 covers_screen || fail "round $round ($way): full screen is $(full)"
    if [ $round = 1 ]; then
        xdotool mousemove --sync 500 400 mousemove --sync 520 420
        wait_until -t 2 bar_shown || fail "the bar did not show on mouse movement"
        wait_until -t 6 bar_hidden || fail "the bar did not hide after 3 s"
        xdotool mousemove --sync 530 430
        wait_until -t 2 bar_shown || fail "the bar did not show again"
        expect_screen 5 full_screen colour "600 400 80 60" 32 192 32
    fi
    leave "$way"
    wait_until -t 5 left_full || fail "round $round ($way): leaving left $(full) / $(rect_of control Form5.WindowsMediaPlayer1), not $player"
done
area=$(echo "$player" | awk '{ print $1 + 20, $2 + 20, $3 - 40, $4 - 80 }')
expect_screen 5 back_in_player colour "$area" 32 192 32
expect_alive "after ten full-screen rounds"
