# The player's keys (the speed's among them), wheel and sliders on a video, and what it keeps when the desktop ends it
# (SIGTERM): the volume and muting, and the place in the video, which plays on from there.
desktop_start
make_video "$DESKTOP_WORK/green.avi" 2500
P=Form5.WindowsMediaPlayer1
start_playing() {
    program_start
    click moban.Label7
    wait_until window_shown Form5 || fail "the player did not open"
    program_open "$DESKTOP_WORK/green.avi"
    wait_until playing $P || fail "the video does not play"
}
value_is() { [ "$(player_value $P "$1")" = "$2" ]; }
between() { local v; v=$(player_value $P "$1") && [ "$v" -ge "$2" ] && [ "$v" -le "$3" ]; }
expect_value() { wait_until -t 5 "$@" || fail "$*: the player reports $(layout_of control $P)"; }

start_playing
read -r x y w h <<<"$(rect_of control $P)"
bar=$((y + h - 17))
note "keys, once the video has the focus"
xdotool mousemove --sync $((x + w / 2)) $((y + h / 3)) click 1 key Down key Down
expect_value value_is volume 90
xdotool key Up
expect_value value_is volume 95
xdotool key m
expect_value value_is mute 1
start=$(player_value $P position)
xdotool key Right key Right key Right
expect_value between position $((start + 14)) $((start + 18))
xdotool key Left
expect_value between position $((start + 9)) $((start + 14))
note "speed: ] and [ step it, Backspace makes it normal, the overlay says it"
xdotool key bracketright key bracketright
expect_value value_is rate 150
expect_screen 3 speed_overlay drawn "$((x + 12)) $((y + 12)) 90 20"
xdotool key bracketleft
expect_value value_is rate 125
xdotool key BackSpace
expect_value value_is rate 100
note "the wheel over the video"
xdotool click 5 click 5 click 5
expect_value value_is volume 80
note "a click on a slider goes to that point"
# The volume slider is 80 pixels wide, left of the full-screen button.
xdotool mousemove --sync $((x + w - 118 + 20)) $bar click 1
expect_value between volume 15 35
# The middle of the bar is on the position slider: the middle of the 100 s video.
xdotool mousemove --sync $((x + w / 2)) $bar click 1
expect_value between position 40 60
kept_volume=$(player_value $P volume)
kept_at=$(player_value $P position)

note "ended by the desktop (SIGTERM), started again"
program_stop
start_playing
expect_value value_is volume "$kept_volume"
expect_value value_is mute 1
expect_value between position "$kept_at" $((kept_at + 6))
wait_until control_shown Form5.Text5 || fail "no note that the video goes on where it stopped"
expect_alive "after the keys, the wheel and a restart"
