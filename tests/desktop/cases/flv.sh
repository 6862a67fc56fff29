# An FLV with H.264 (what the download window saves) plays in the media player control: the
# web engine has no Flash, so no flash player is fetched and the video's frames are on screen.
desktop_start
program_start
# Thirty seconds of H.264 video, as the split downloader saves it: the picture is checked while
# it plays, however slowly it started.
make_video "$DESKTOP_WORK/green.flv" 750 libx264 || fail "no FLV could be made"
click moban.Label7
wait_until -t 20 window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/green.flv"
wait_until -t 30 playing Form5.WindowsMediaPlayer1 || fail "the FLV does not play"
area=$(centre_of Form5.WindowsMediaPlayer1 | awk '{ print $1 - 50, $2 - 40, 100, 80 }')
expect_screen 15 flv_video colour "$area" 32 192 32
[ ! -e "$PROFILE/my documents/zelv/Temp/zelv.swf" ] || fail "the flash player was fetched"
control_shown Form5.Label8 && fail "the flash player's first-time notice is shown"
expect_alive "while the FLV plays"
