# The player's window is unloaded while its engines play or show something, in several
# orders: a song playing, then a picture shown, then another tile; a video playing, then
# another tile; a picture alone, then another tile. The program lives on each time.
desktop_start
program_start
make_wav "$DESKTOP_WORK/tone.wav" 20
make_video "$DESKTOP_WORK/green.avi" 250
make_picture "$DESKTOP_WORK/red.jpg" '#e02040'

open_player_with() {
    click moban.Label7
    wait_until window_shown Form5 || fail "the player did not open"
    program_open "$@"
}

note "a song plays, a picture is dropped, another tile"
open_player_with "$DESKTOP_WORK/tone.wav"
click_in Form5.List1 30 8 1 2
wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
program_open "$DESKTOP_WORK/red.jpg"
wait_until control_shown Form5.WebBrowser3 || fail "the picture is not shown"
click moban.Label6
wait_until window_shown Form1 || fail "急速音乐 did not show its window"
expect_alive "after unloading the player with a song and a picture"

note "a video plays, another tile"
open_player_with "$DESKTOP_WORK/green.avi"
wait_until playing Form5.WindowsMediaPlayer1 || fail "the video does not play"
click moban.Label8
wait_until window_shown Form2 || fail "视频下载 did not show its window"
expect_alive "after unloading the player with a video"

note "a picture alone, another tile"
open_player_with "$DESKTOP_WORK/red.jpg"
wait_until control_shown Form5.WebBrowser3 || fail "the picture is not shown"
expect_screen 10 picture-alone colour "$(rect_of control Form5.WebBrowser3 | awk '{ print $1 + $3 / 2 - 20, $2 + $4 / 2 - 20, 40, 40 }')" 224 32 64
click moban.Label9
wait_until window_shown tool || fail "工具箱 did not show its window"
expect_alive "after unloading the player with a picture"
screenshot unload-end
