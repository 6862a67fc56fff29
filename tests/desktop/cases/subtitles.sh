# A video's subtitle file of the same name loads by itself and shows on the picture: a GB18030
# one beside a video draws the same line as a UTF-8 one beside another (no mojibake).
desktop_start
program_start
line='你好，世界。这是中文字幕'
make_video "$DESKTOP_WORK/甲.avi" 1500
make_video "$DESKTOP_WORK/乙.avi" 1500
printf '1\r\n00:00:00,000 --> 00:01:00,000\r\n%s\r\n' "$line" | iconv -f UTF-8 -t GB18030 >"$DESKTOP_WORK/甲.chs.srt"
printf '1\r\n00:00:00,000 --> 00:01:00,000\r\n%s\r\n' "$line" >"$DESKTOP_WORK/乙.srt"
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
read -r x y w h <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
# The lower part of the picture, where the line is; the bar is 34 pixels under it.
band="$((x + w / 8)) $((y + h - 34 - 110)) $((w * 3 / 4)) 100"
for video in 甲 乙; do
    program_open "$DESKTOP_WORK/$video.avi"
    wait_until playing Form5.WindowsMediaPlayer1 || fail "$video.avi does not play"
    expect_screen 15 "subtitle_$video" drawn "$band"
done
read -r bx by bw bh <<<"$band"
differ=$(compare -metric AE -fuzz 10% "$SHOTS/subtitle_甲.png[${bw}x${bh}+${bx}+${by}]" \
    "$SHOTS/subtitle_乙.png[${bw}x${bh}+${bx}+${by}]" null: 2>&1) || true
[ "${differ%% *}" -lt $((bw * bh / 50)) ] || fail "the GB18030 line differs from the UTF-8 one in $differ pixels"
expect_alive "after the subtitles"
