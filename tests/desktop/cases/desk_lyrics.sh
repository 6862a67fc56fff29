# The desktop lyrics bar over a playing song: opened from the tray menu, drawn with its lines
# outlined and filling, moved by a drag and kept where it was left, locked so a click passes
# through to the player's pause button below it, unlocked from the small bar that shows while
# the pointer rests over it, and from the tray menu.
desktop_start
program_start
songs="$DESKTOP_WORK/歌曲"
mkdir -p "$songs"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=60" -c:a libmp3lame "$songs/晴天.mp3" \
    || fail "ffmpeg did not make the song"
printf '[00:00.00]<00:00.00>故事的<00:03.00>小黄花<00:06.00>\r\n[00:06.00]从出生那年就飘着\r\n[00:30.00]童年的荡秋千\r\n' \
    | iconv -t GB18030 >"$songs/晴天.lrc"
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$songs/晴天.mp3"
wait_until -t 15 playing Form5.WindowsMediaPlayer1 || fail "the song does not play"

note "opened from the tray menu: the bar floats over the player, its lines drawn"
click tray 3
wait_until -t 5 centre_of "menu:桌面歌词" >/dev/null || fail "the tray menu has no 桌面歌词"
click "menu:桌面歌词"
wait_until window_shown geci || fail "the desktop lyrics did not open"
expect_screen 5 desk_lyrics drawn "$(rect_of control geci.ci)"

note "moved by a drag, and kept where it was left"
read -r bx by _ _ <<<"$(rect_of window geci)"
read -r cx cy <<<"$(centre_of geci.ci)"
xdotool mousemove --sync "$cx" "$cy" mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove --sync $((cx - step * 20)) $((cy - step * 30)); sleep 0.1; done
xdotool mouseup 1
moved() { read -r nx ny _ _ <<<"$(rect_of window geci)"; [ "$nx" -le $((bx - 80)) ] && [ "$ny" -le $((by - 120)) ]; }
wait_until -t 5 moved || fail "the drag did not move the bar ($bx $by to $(rect_of window geci))"
wait_until -t 5 grep -q "left=$(((bx - 100) * 15))" "$PROFILE/my documents/zelv/desklyrics.ini" \
    || fail "the place was not kept: $(cat "$PROFILE/my documents/zelv/desklyrics.ini")"

note "dragged over the player's pause button and locked: a click there pauses the song"
read -r x y _ h <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
pause_x=$((x + 19)) pause_y=$((y + h - 18))
read -r lx ly _ lh <<<"$(rect_of control geci.ci)"
xdotool mousemove --sync $((lx + 150)) $((ly + lh / 2)) mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((lx + 150 + (pause_x + 100 - lx - 150) * step / 6)) \
        $((ly + lh / 2 + (pause_y - ly - lh / 2) * step / 6))
    sleep 0.1
done
xdotool mouseup 1
covers() { read -r lx ly lw lh <<<"$(rect_of control geci.ci)"; [ "$lx" -lt "$pause_x" ] && [ "$ly" -lt "$pause_y" ] && [ $((ly + lh)) -gt "$pause_y" ]; }
wait_until -t 5 covers || fail "the bar ($(rect_of control geci.ci)) does not cover the pause button at $pause_x $pause_y"
screenshot over_pause
xdotool mousemove --sync "$pause_x" "$pause_y" click 1
sleep 1
playing Form5.WindowsMediaPlayer1 || fail "a click on the unlocked bar reached the player below it"
xdotool mousemove --sync "$((pause_x + 200))" "$pause_y"
click geci.suo
suo_gone() { ! control_shown geci.suo; }
wait_until -t 5 suo_gone || fail "the hover bar stayed after locking"
wait_until -t 5 window_shown geci || fail "the bar went away when it was locked"
screenshot locked
xdotool mousemove --sync "$pause_x" "$pause_y"
sleep 0.3
xdotool click 1
paused() { [ "$(play_state Form5.WindowsMediaPlayer1)" = 2 ]; }
wait_until -t 5 paused || fail "a click on the locked bar did not reach the pause button (state $(play_state Form5.WindowsMediaPlayer1))"
xdotool mousemove --sync "$((pause_x + 200))" "$pause_y"
sleep 0.5
control_shown geci.suo && fail "the locked bar showed its hover bar"

note "the pointer resting over the locked bar shows the unlock bar; leaving hides it; its button unlocks"
read -r lx ly lw lh <<<"$(rect_of control geci.ci)"
xdotool mousemove --sync $((lx + lw / 2)) $((ly + lh / 2))
wait_until -t 5 window_shown jiesuolan || fail "the pointer over the locked bar shows no unlock bar"
screenshot unlock_bar
xdotool mousemove --sync $((lx + lw / 2)) $((ly - 120))
wait_until -t 5 window_hidden jiesuolan || fail "the unlock bar stayed after the pointer left the bar"
xdotool mousemove --sync $((lx + lw / 2 + 30)) $((ly + lh / 2))
click jiesuolan.jie
wait_until -t 5 window_hidden jiesuolan || fail "the unlock bar stayed after unlocking"
xdotool mousemove --sync "$pause_x" "$pause_y"
sleep 0.3
xdotool click 1
sleep 1
paused || fail "a click on the unlocked bar reached the player below it"
wait_until -t 5 control_shown geci.suo || fail "the bar unlocked by its unlock bar shows no hover bar"
click geci.suo
wait_until -t 5 suo_gone || fail "the hover bar stayed after locking again"

note "unlocked from the tray menu: the hover bar shows again"
click tray 3
wait_until -t 5 centre_of "menu:解锁桌面歌词" >/dev/null || fail "the tray menu has no 解锁桌面歌词"
click "menu:解锁桌面歌词"
wait_until -t 5 window_shown geci || fail "the bar went away when it was unlocked"
read -r lx ly lw lh <<<"$(rect_of control geci.ci)"
xdotool mousemove --sync $((lx + lw / 2)) $((ly + lh / 2))
sleep 0.3
xdotool mousemove --sync $((lx + lw / 2 + 10)) $((ly + lh / 2))
wait_until -t 5 control_shown geci.suo || fail "the unlocked bar shows no hover bar"
screenshot unlocked
expect_alive "after the desktop lyrics"
