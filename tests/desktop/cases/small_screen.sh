# On a 1024 x 768 screen the hub (960 x 735 with its child) opens wholly on the screen, its
# child glued below its title area; the tiles keep working there.
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
