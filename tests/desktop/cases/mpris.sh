# The desktop's player widgets and media keys (MPRIS through playerctl, on a private session
# bus): its interfaces as introspection shows them, what plays and its tags, play-pause, next,
# position, volume and speed from outside, a play pressed on the player's own bar seen by a
# follower, and a FIFO named like a video turned down.
if [ -z "${ZELVORA_PRIVATE_BUS:-}" ]; then
    exec env ZELVORA_PRIVATE_BUS=1 dbus-run-session -- bash "$SUITE_DIR/run_case.sh" "$ZELVORA" mpris "$DESKTOP_WORK"
fi
desktop_start
program_start
ctl() { playerctl --player=zelvora "$@" 2>/dev/null; }
is() { [ "$(ctl "${@:2}")" = "$1" ]; }
wait_until -t 15 is Stopped status || fail "no player on the bus (status: $(ctl status))"
is Zelvora metadata --format '{{ playerName }}' || ctl -l | grep -q zelvora || fail "the player is not named zelvora"
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zelvora /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Introspectable.Introspect | grep -q '<method name="OpenUri"><arg direction="in" name="Uri"' \
    || fail "introspection does not show the player's methods"

mkdir -p "$DESKTOP_WORK/songs"
song() { sox -q -n --comment "title=$2" --add-comment "artist=乐队" --add-comment "album=专辑" -r 44100 -c 2 \
    "$DESKTOP_WORK/songs/$1" synth 30 sine 440 vol 0.2; }
song a.ogg 晨曲
song b.ogg 晚歌
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
program_open "$DESKTOP_WORK/songs/a.ogg" "$DESKTOP_WORK/songs/b.ogg"
wait_until -t 15 is Playing status || fail "playerctl does not see the song play (status: $(ctl status))"

note "metadata: the tags, the length and the address"
wait_until is 晨曲 metadata xesam:title || fail "title: $(ctl metadata xesam:title)"
is 乐队 metadata xesam:artist || fail "artist: $(ctl metadata xesam:artist)"
is 专辑 metadata xesam:album || fail "album: $(ctl metadata xesam:album)"
is "file://$DESKTOP_WORK/songs/a.ogg" metadata xesam:url || fail "url: $(ctl metadata xesam:url)"
wait_until is 30000000 metadata mpris:length || fail "length: $(ctl metadata mpris:length)"

note "play-pause from outside reaches the control"
ctl play-pause
wait_until is Paused status || fail "play-pause did not pause"
control_paused() { [ "$(play_state Form5.WindowsMediaPlayer1)" = 2 ]; }
wait_until control_paused || fail "the control is not paused"
ctl play-pause
wait_until is Playing status || fail "play-pause did not play on"

note "position and volume"
ctl position 12
at_twelve() { ctl position | awk '{ exit !($1 >= 11.5 && $1 < 20) }'; }
wait_until at_twelve || fail "position: $(ctl position)"
ctl volume 0.4
wait_until is 0.400000 volume || fail "volume: $(ctl volume)"
set_volume() { dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zelvora /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Set string:org.mpris.MediaPlayer2.Player string:Volume "variant:$1"; }
! set_volume string:loud >/dev/null 2>&1 || fail "a volume given as text was taken"
sleep 0.5
is 0.400000 volume || fail "a volume given as text changed the volume to $(ctl volume)"

note "speed: Rate from outside, kept within the player's 0.5 to 3"
rate() {
    dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zelvora /org/mpris/MediaPlayer2 \
        org.freedesktop.DBus.Properties."$1" string:org.mpris.MediaPlayer2.Player "${@:2}" 2>/dev/null
}
rate Get string:MinimumRate | grep -q 'double 0.5$' || fail "MinimumRate: $(rate Get string:MinimumRate)"
rate Get string:MaximumRate | grep -q 'double 3$' || fail "MaximumRate: $(rate Get string:MaximumRate)"
rate_is() { [ "$(player_value Form5.WindowsMediaPlayer1 rate)" = "$1" ]; }
rate Set string:Rate variant:double:1.5
wait_until rate_is 150 || fail "Rate 1.5: $(layout_of control Form5.WindowsMediaPlayer1)"
rate Get string:Rate | grep -q 'double 1.5$' || fail "Rate read back: $(rate Get string:Rate)"
rate Set string:Rate variant:double:8
wait_until rate_is 300 || fail "Rate 8 is not brought to 3"
rate Set string:Rate variant:double:1

note "loop and shuffle choose the play modes"
ctl loop Track
wait_until is Track loop || fail "loop Track: $(ctl loop)"
ctl shuffle On
wait_until is On shuffle || fail "shuffle: $(ctl shuffle)"
is Playlist loop || fail "the random mode goes on over the list: $(ctl loop)"
ctl loop None
wait_until is None loop || fail "loop None: $(ctl loop)"
is Off shuffle || fail "no shuffle without a list loop"

note "next plays the second entry"
ctl next
wait_until is 晚歌 metadata xesam:title || fail "next: $(ctl metadata xesam:title)"
wait_until -t 20 is Playing status || fail "the second entry does not play"

note "a stop from outside, then a play on the bar, announced to a follower"
playerctl --player=zelvora --follow status >"$DESKTOP_WORK/follow" 2>/dev/null &
HELPER_PIDS+=($!)
ctl stop
wait_until is Stopped status || fail "stop did not stop"
wait_until grep -q Stopped "$DESKTOP_WORK/follow" || fail "the follower did not hear the stop"
# shellcheck disable=SC2046
xdotool mousemove --sync $(rect_of control Form5.WindowsMediaPlayer1 | awk '{ print $1 + 19, $2 + $4 - 17 }')
xdotool click 1
wait_until playing Form5.WindowsMediaPlayer1 || fail "the bar's play did not play"
follower_saw_play() { tail -n 1 "$DESKTOP_WORK/follow" | grep -q Playing; }
wait_until follower_saw_play || fail "the follower did not hear the bar's play ($(tr '\n' ' ' <"$DESKTOP_WORK/follow"))"
note "a FIFO named like a video, opened from outside and handed over: turned down, the player answers"
mkfifo "$DESKTOP_WORK/songs/pipe.mp4"
ctl open "file://$DESKTOP_WORK/songs/pipe.mp4"
wait_until control_shown Form5.Label4 || fail "the FIFO was not turned down as no medium"
answers() { timeout 5 playerctl --player=zelvora status >/dev/null 2>&1; }
answers || fail "the player stopped answering after the FIFO"
program_open "$DESKTOP_WORK/songs/pipe.mp4"
sleep 1
answers || fail "the player stopped answering after the FIFO was handed over"
expect_alive "after the remote control"
