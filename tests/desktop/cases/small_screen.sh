# On a 1024 x 768 screen the hub (960 x 730 with its child) opens wholly on the screen, its
# child glued below its title area; the tiles keep working there, and the settings window opens
# centred over the hub where the hub is.
desktop_start 1024x768
program_start
inside_screen() {
    rect_of window "$1" | awk '{ exit !($1 >= 0 && $2 >= 0 && $1 + $3 <= 1024 && $2 + $4 <= 768) }'
}
wait_until window_shown Form1 || fail "the online music window did not open"
inside_screen moban || fail "the hub is partly off the screen: $(rect_of window moban)"
inside_screen Form1 || fail "the online music window is partly off the screen: $(rect_of window Form1)"
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
inside_screen Form5 || fail "the player is partly off the screen: $(rect_of window Form5)"
hub_top=$(rect_of window moban | awk '{ print $2 }')
player_top=$(rect_of window Form5 | awk '{ print $2 }')
[ $((player_top - hub_top)) -eq 58 ] || fail "the player is not glued below the hub's title area"
screenshot small-screen
click moban.Label5
wait_until window_shown setz || fail "the settings window did not open"
read -r hx hy hw hh <<<"$(rect_of window moban)"
read -r sx sy sw sh <<<"$(rect_of window setz)"
[ $((sx + sw / 2 - hx - hw / 2)) -eq 0 ] && [ $((sy + sh / 2 - hy - hh / 2)) -eq 0 ] \
    || fail "the settings window ($sx $sy $sw $sh) is not centred over the hub ($hx $hy $hw $hh)"
screenshot small-screen-settings
