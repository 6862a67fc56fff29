# Chinese songs from older collections: tags written as GBK bytes (ID3v1, FLAC comments) read
# as Chinese over MPRIS, the GB18030 lyrics beside the song handed on with it (xesam:asText),
# and the in-list search finding names by pinyin initials (also of traditional characters)
# and syllables.
if [ -z "${ZELVORA_PRIVATE_BUS:-}" ]; then
    exec env ZELVORA_PRIVATE_BUS=1 dbus-run-session -- bash "$SUITE_DIR/run_case.sh" "$ZELVORA" chinese_songs "$DESKTOP_WORK"
fi
desktop_start
program_start
ctl() { playerctl --player=zelvora "$@" 2>/dev/null; }
is() { [ "$(ctl "${@:2}")" = "$1" ]; }
songs="$DESKTOP_WORK/歌曲"
mkdir -p "$songs"
# An ID3v1 field: the GBK bytes of a text, padded with zeros to 30 bytes.
field() { { printf '%s' "$1" | iconv -t GBK; head -c 30 /dev/zero; } | head -c 30; }
song() {
    ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=20" -c:a libmp3lame -id3v2_version 0 \
        -write_id3v1 0 "$songs/$1" || fail "ffmpeg did not make $1"
    { printf TAG; field "$2"; field "$3"; field "$4"; printf 2003; field ""; printf '\377'; } >>"$songs/$1"
}
song "周杰伦 - 晴天.mp3" 晴天 周杰伦 叶惠美
song "周杰倫 - 稻香.mp3" 稻香 周杰倫 魔杰座
printf '[ti:晴天]\r\n[00:00.50]故事的小黄花\r\n[00:03.00]从出生那年就飘着\r\n' | iconv -t GB18030 \
    >"$songs/周杰伦 - 晴天.lrc"

click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$songs/周杰伦 - 晴天.mp3"
wait_until -t 15 is Playing status || fail "the song does not play (status: $(ctl status))"

note "GBK tags over MPRIS"
wait_until is 晴天 metadata xesam:title || fail "title: $(ctl metadata xesam:title)"
is 周杰伦 metadata xesam:artist || fail "artist: $(ctl metadata xesam:artist)"
is 叶惠美 metadata xesam:album || fail "album: $(ctl metadata xesam:album)"
note "the GB18030 lyrics beside the song"
has_lyrics() { ctl metadata xesam:asText | grep -q 从出生那年就飘着; }
wait_until has_lyrics || fail "lyrics: $(ctl metadata xesam:asText)"

note "the in-list search by pinyin"
click Form5.Image14
click Form5.Text2
xdotool type --delay 60 zjl
found() { [ "$(player_value Form5.List4 count)" = "$1" ]; }
wait_until found 2 || fail "zjl finds $(player_value Form5.List4 count) names"
expect_screen 3 pinyin_search drawn "$(rect_of control Form5.List4)"
xdotool key ctrl+a
xdotool type --delay 60 daox
wait_until found 1 || fail "daox finds $(player_value Form5.List4 count) names"

note "GBK bytes in a FLAC's Vorbis comments (stored as if UTF-8)"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=20" \
    -metadata "title=$(printf 七里香 | iconv -t GBK)" -metadata "artist=$(printf 周杰伦 | iconv -t GBK)" \
    "$songs/七里香.flac" || fail "ffmpeg did not make the FLAC song"
program_open "$songs/七里香.flac"
wait_until -t 15 is 七里香 metadata xesam:title || fail "FLAC title: $(ctl metadata xesam:title)"
is 周杰伦 metadata xesam:artist || fail "FLAC artist: $(ctl metadata xesam:artist)"
expect_alive "after the search and the FLAC song"
