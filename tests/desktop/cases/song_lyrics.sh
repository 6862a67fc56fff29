# The lyrics of a song on its card: a GB18030 LRC file beside the song, the line being sung
# highlighted and moving down the card as the song plays, and a click on a later line seeking
# the song there.
desktop_start
program_start
songs="$DESKTOP_WORK/歌曲"
mkdir -p "$songs"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=40" -c:a libmp3lame \
    -metadata title="晴天" -metadata artist="周杰伦" "$songs/晴天.mp3" || fail "ffmpeg did not make the song"
printf '[ti:晴天]\r\n[00:00.50]故事的小黄花\r\n[00:00.50]The little yellow flower\r\n[00:03.00]从出生那年就飘着\r\n[00:06.00]童年的荡秋千\r\n[00:09.00]随记忆一直晃到现在\r\n[00:20.00]吹着前奏望着天空\r\n[00:25.00]我想起花瓣试着掉落\r\n' \
    | iconv -t GB18030 >"$songs/晴天.lrc"

click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$songs/晴天.mp3"
wait_until -t 15 playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
read -r x y w h <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
card="$x $y $w $((h - 40))"
# "TOP BOTTOM" of the highlighted line's pixels on the card (red on the default skin; nothing
# when none is shown).
sung_rows() {
    # shellcheck disable=SC2086
    set -- "$1" $2
    convert "$SHOTS/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -fuzz 12% -fill black +opaque '#d0103a' \
        -fill white -opaque '#d0103a' -format '%@' info: 2>/dev/null \
        | awk -F'[x+]' '$2 > 3 { print $4, $4 + $2 }'
}
sung_at_top() { local r; r=$(sung_rows "$1" "$card"); [ -n "$r" ] && [ "${r%% *}" -lt "$2" ]; }
sung_below() { local r; r=$(sung_rows "$1" "$card"); [ -n "$r" ] && [ "${r%% *}" -gt "$2" ]; }
expect_sung_at_top() { fail "$1: the sung line is at ($(sung_rows "$1" "$card")), not above $2"; }
expect_sung_below() { fail "$1: the sung line is at ($(sung_rows "$1" "$card")), not below $2"; }

note "the first line is sung: highlighted near the top of the lyrics"
expect_screen 5 lyrics_first sung_at_top $((h / 2))
read -r first _ <<<"$(sung_rows lyrics_first "$card")"
note "seconds later the highlight has moved down to the fourth line (9 s to 20 s)"
at_least() { [ "$(player_value Form5.WindowsMediaPlayer1 position)" -ge "$1" ]; }
wait_until -t 15 at_least 10 || fail "the song does not go on"
expect_screen 5 lyrics_later sung_below $((first + 60))
read -r later bottom <<<"$(sung_rows lyrics_later "$card")"
[ "$(player_value Form5.WindowsMediaPlayer1 position)" -lt 19 ] || fail "the song went past the lines"

note "a click on the next line (at 20 s) seeks the song there"
xdotool mousemove --sync $((x + w / 2)) $((y + bottom + (bottom - later) * 3 / 2)) click 1
wait_until -t 5 at_least 20 || fail "the click did not seek (position $(player_value Form5.WindowsMediaPlayer1 position))"
expect_screen 5 lyrics_clicked sung_below $((later + 20))
expect_alive "after the lyrics"
