# A feature window glued below the hub stays above it: after the settings window closes,
# after a message box closes, and after a song and a picture played, the tile "在线影音"
# shows the player, not the hub's background.
desktop_start
program_start
make_wav "$DESKTOP_WORK/tone.wav" 20
make_picture "$DESKTOP_WORK/red.jpg" '#e02040'

# The player's list is on screen where the window manager stacks the player above the hub.
expect_player_on_top() {
    click moban.Label7
    wait_until window_shown Form5 || fail "the player did not open ($1)"
    expect_above Form5 moban
    # The list's own colour, not the hub's background.
    local list
    list=$(rect_of control Form5.List1 | awk '{ print $1 + 20, $2 + 120, 100, 200 }')
    expect_screen 5 "player-$1" colour "$list" 0 255 180 60
}

note "the settings window opens and is cancelled"
click moban.Label5
wait_until window_shown setz || fail "the settings window did not open"
click setz.Command2
wait_until window_hidden setz || fail "the settings window did not close"
expect_player_on_top settings

note "a message box opens and is answered"
click tray 3
wait_until -t 5 centre_of menu:退出播放器 >/dev/null || fail "the tray menu did not open"
click menu:退出播放器
wait_until dialog_open || fail "the exit question did not appear"
screenshot message-box
xdotool key Escape
wait_until dialog_closed || fail "the exit question did not close"
expect_alive "after the exit question was declined"
expect_player_on_top message

note "a song plays, then a picture"
program_open "$DESKTOP_WORK/tone.wav"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
program_open "$DESKTOP_WORK/red.jpg"
wait_until control_shown Form5.WebBrowser3 || fail "the picture is not shown"
expect_player_on_top picture
