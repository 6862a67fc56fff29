# The player plays a generated song and a generated video; the video's frames are on screen.
desktop_start
program_start
make_wav "$DESKTOP_WORK/tone.wav" 20
make_video "$DESKTOP_WORK/green.avi" 250
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/tone.wav"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
program_open "$DESKTOP_WORK/green.avi"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the video does not play"
area=$(centre_of Form5.WindowsMediaPlayer1 | awk '{ print $1 - 50, $2 - 40, 100, 80 }')
expect_screen 15 video colour "$area" 32 192 32
expect_alive "while the video plays"
