# A song shows its title, artist, album and cover in the video area, and the entry that plays
# is the chosen one in the list: after "previous" and after the automatic advance that follows.
desktop_start
program_start
mkdir -p "$DESKTOP_WORK/songs"
make_picture "$DESKTOP_WORK/cover.png" '#e02040'
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=8" -i "$DESKTOP_WORK/cover.png" \
    -map 0 -map 1 -c:a libmp3lame -c:v png -disposition:v attached_pic -id3v2_version 3 \
    -metadata title="晚风" -metadata artist="林一" -metadata album="夏天" "$DESKTOP_WORK/songs/a.mp3" \
    || fail "ffmpeg did not make the song"
make_wav "$DESKTOP_WORK/songs/b.wav" 30
make_wav "$DESKTOP_WORK/songs/c.wav" 30
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/songs/b.wav"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
read -r x y _ _ <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
row() { rect_of control Form5.List1 | awk -v n="$1" '{ print $1 + 4, $2 + 2 + n * 18, 60, 6 }'; }

note "the second entry chosen (list loop), then previous: the first entry plays and is chosen"
click_in Form5.List1 30 26 1 2
wait_until playing Form5.WindowsMediaPlayer1 || fail "the second entry does not play"
click Form5.Image11
expect_screen 5 previous_chosen colour "$(row 0)" 48 140 198 70
note "the song's cover and tags"
expect_screen 5 song_cover colour "$((x + 100)) $((y + 200)) 150 100" 224 32 64
expect_drawn song_cover "$((x + 430)) $((y + 200)) 280 120"
note "a song costs little: a twentieth of a core while it plays"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$PROGRAM_PID/stat"; }
before=$(cpu_ticks)
sleep 4
used=$(($(cpu_ticks) - before))
[ "$used" -le $((4 * $(getconf CLK_TCK) / 20)) ] || fail "the song took $used ticks of CPU in 4 s"
note "the song ends: the next entry plays and is chosen"
expect_screen 15 next_chosen colour "$(row 1)" 48 140 198 70
wait_until playing Form5.WindowsMediaPlayer1 || fail "the next entry does not play"
expect_alive "after the songs"
