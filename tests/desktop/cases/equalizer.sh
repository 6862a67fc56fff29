# The equalizer window from the video area's menu: a preset moves the ten bands while a song
# plays, and the player keeps them in the profile.
desktop_start
program_start
make_wav "$DESKTOP_WORK/tone.wav" 30
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/tone.wav"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
read -r x y w h <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
xdotool mousemove --sync $((x + w / 2)) $((y + h / 3)) click 3
click menu:均衡器...
wait_until dialog_open || fail "the equalizer window did not open"
grep -q '^dialog 均衡器 ' "$LAYOUT" || fail "no equalizer window: $(grep '^dialog' "$LAYOUT")"
note "the preset list starts at 关闭 (flat); the one above it is 低音增强"
xdotool key Up
kept() { grep -q '^equalizer=6,5,4,2,0,0,0,0,0,0' "$PROFILE/my documents/zelv/player.ini"; }
wait_until kept || fail "the bands are not kept: $(cat "$PROFILE/my documents/zelv/player.ini")"
read -r dx dy dw dh <<<"$(layout_of dialog 均衡器 | awk '{ print $1, $2, $3, $4 }')"
screenshot equalizer
expect_drawn equalizer "$dx $dy $dw $dh"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song stopped"
expect_alive "after the equalizer"
