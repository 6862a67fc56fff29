# Every tile of the hub shows its window below the hub's title area, above the hub, and the hub
# keeps its height with its update line at its bottom; none of them needs OpenGL before a video
# or a page is shown. The harvest prompt closed by the desktop gives the harvest button back.
desktop_start
program_start
hub_fits_child() {
    local hub line
    hub=$(rect_of window moban) line=$(rect_of control moban.Label1)
    [ "$(echo "$hub" | awk '{ print $4 }')" = 730 ] || return 1
    echo "$hub $line" | awk '{ exit !($6 + $8 == $2 + $4 - 3) }'
}
hub_fits_child || fail "the hub does not reach just below its update line: $(rect_of window moban)"
# Where the screen has room, the hub opens at its designed place.
[ "$(rect_of window moban | awk '{ print $1, $2 }')" = "198 75" ] || fail "the hub is not at its place: $(rect_of window moban)"
for tile in Label7:Form5 Label8:Form2 Label9:tool Label6:Form1; do
    label=${tile%%:*} child=${tile#*:}
    click "moban.$label"
    wait_until window_shown "$child" || fail "$label did not show $child"
    expect_above "$child" moban
    hub_fits_child || fail "after $label the hub is $(rect_of window moban), its update line $(rect_of control moban.Label1)"
    expect_alive "after $label"
    expect_screen 5 "tile-$child" drawn "$(rect_of window "$child")"
done
! opengl_loaded || fail "OpenGL was loaded though no video or page was shown"

# The harvest prompt, closed by the window manager's close and by another program destroying
# its window: the music window's harvest button is enabled again (it looks as before), as
# "不想下了" leaves it, and the other windows take clicks again.
harvest=$(rect_of control Form1.Command1 | awk '{ print $3 "x" $4 "+" $1 "+" $2 }')
away=$(rect_of window moban | awk '{ print $1 + 700, $2 + 10 }')
harvest_button() {
    # shellcheck disable=SC2086
    xdotool mousemove --sync $away
    screenshot "$1"
    convert "$SHOTS/$1.png" -crop "$harvest" +repage "$SHOTS/$1-button.png"
}
harvest_button harvest-before
for close in key windowclose; do
    click Form1.Command1
    wait_until window_shown Form4 || fail "the harvest prompt did not open"
    if [ $close = key ]; then
        close_by_key Form4
    else
        xdotool windowclose "$(window_id Form4)"
    fi
    wait_until window_hidden Form4 || fail "xdotool $close did not close the harvest prompt"
    harvest_button "harvest-$close"
    [ "$(compare -metric AE "$SHOTS/harvest-before-button.png" "$SHOTS/harvest-$close-button.png" null: 2>&1)" -lt 20 ] \
        || fail "after xdotool $close the harvest button is still disabled"
done
click moban.Label7
wait_until window_shown Form5 || fail "the tiles take no click after the harvest prompt was closed"
