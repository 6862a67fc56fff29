# The media player's own bar: a song paused and played from the bar, a stop pressed on the bar
# stays stopped, and a song that ends moves on to the next entry of the list.
desktop_start
program_start
mkdir -p "$DESKTOP_WORK/songs"
make_wav "$DESKTOP_WORK/songs/a.wav" 3
make_wav "$DESKTOP_WORK/songs/b.wav" 30
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/songs/a.wav"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"

# The bar lies along the bottom of the player's area: play/pause first, then stop, each a
# square of 26 pixels from 6 pixels in.
bar_button() {
    rect_of control Form5.WindowsMediaPlayer1 | awk -v n="$1" '{ print $1 + 6 + 13 + n * 32, $2 + $4 - 17 }'
}
press() {
    # shellcheck disable=SC2046
    xdotool mousemove --sync $(bar_button "$1")
    sleep 0.2
    xdotool click 1
    sleep 0.3
}
paused() { [ "$(play_state Form5.WindowsMediaPlayer1)" = 2 ]; }
stopped() { [ "$(play_state Form5.WindowsMediaPlayer1)" = 1 ]; }

note "the first entry chosen in the list (list loop), paused and played from the bar"
click_in Form5.List1 30 8 1 2
wait_until playing Form5.WindowsMediaPlayer1 || fail "the first entry does not play"
press 0
wait_until paused || fail "the bar's pause did not pause (state $(play_state Form5.WindowsMediaPlayer1))"
bar=$(rect_of control Form5.WindowsMediaPlayer1 | awk '{ print $1, $2 + $4 - 34, $3, 34 }')
expect_screen 5 bar_paused drawn "$bar"
press 0
wait_until playing Form5.WindowsMediaPlayer1 || fail "the bar's play did not play on"

note "a stop on the bar stays stopped"
press 1
wait_until stopped || fail "the bar's stop did not stop"
sleep 4
stopped || fail "after the bar's stop something plays again (state $(play_state Form5.WindowsMediaPlayer1))"

note "played again from the bar, the song ends and the next entry plays"
press 0
wait_until playing Form5.WindowsMediaPlayer1 || fail "the bar's play did not start the song again"
# The second entry (b.wav, 30 seconds) becomes the chosen one when the first ends.
row=$(rect_of control Form5.List1 | awk '{ print $1 + 4, $2 + 20, 60, 6 }')
expect_screen 10 next_entry colour "$row" 48 140 198 70
wait_until playing Form5.WindowsMediaPlayer1 || fail "the next entry does not play after the end"
expect_alive "after the bar's pause, stop and play"
