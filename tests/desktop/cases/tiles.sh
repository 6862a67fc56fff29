# Every tile of the hub shows its window below the hub's title area, above the hub; none of
# them needs OpenGL before a video or a page is shown.
desktop_start
program_start
# Where the screen has room, the hub opens at its designed place.
[ "$(rect_of window moban | awk '{ print $1, $2 }')" = "198 75" ] || fail "the hub is not at its place: $(rect_of window moban)"
for tile in Label7:Form5 Label8:Form2 Label9:tool Label6:Form1; do
    label=${tile%%:*} child=${tile#*:}
    click "moban.$label"
    wait_until window_shown "$child" || fail "$label did not show $child"
    expect_above "$child" moban
    expect_alive "after $label"
    expect_screen 5 "tile-$child" drawn "$(rect_of window "$child")"
done
! opengl_loaded || fail "OpenGL was loaded though no video or page was shown"
