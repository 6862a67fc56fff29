# The player plays a generated song and a generated video; the video's frames are on screen. Its
# address box's button fits the window and its hover look goes with the pointer.
desktop_start
program_start
make_wav "$DESKTOP_WORK/tone.wav" 20
make_video "$DESKTOP_WORK/green.avi" 250
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
# The address box's button "搜" lies wholly inside the window and loses its hover look when the
# pointer leaves it.
read -r wx wy ww wh <<<"$(rect_of window Form5)"
read -r bx by bw bh <<<"$(rect_of control Form5.Label14)"
[ $((bx + bw)) -le $((wx + ww)) ] || fail "搜 ($bx $by $bw $bh) is cut by the window's edge ($wx $wy $ww $wh)"
inside="$((bx + 3)) $((by + 3)) 6 6"
# shellcheck disable=SC2046
xdotool mousemove --sync $(centre_of Form5.Label14) mousemove_relative --sync 1 0
expect_screen 3 search-hover colour "$inside" 128 255 128 30
xdotool mousemove --sync $((wx + 500)) $((wy + 300))
expect_screen 3 search-left colour "$inside" 255 255 255 30
program_open "$DESKTOP_WORK/tone.wav"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
program_open "$DESKTOP_WORK/green.avi"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the video does not play"
area=$(centre_of Form5.WindowsMediaPlayer1 | awk '{ print $1 - 50, $2 - 40, 100, 80 }')
expect_screen 15 video colour "$area" 32 192 32
expect_alive "while the video plays"
