# At a scale of 2 the video is drawn at device pixels: its detail is finer than the picture of
# its logical size doubled (a doubled picture equals a copy of itself with every second pixel
# repeated). So on both paths: the software renderer, which the program takes by itself on
# Xvfb (its OpenGL is llvmpipe, a software rasteriser), and the OpenGL renderer when asked for.
desktop_start 2560x2048
export QT_SCALE_FACTOR=2
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=1280x720:rate=25" -frames:v 750 -c:v mpeg4 -q:v 2 \
    "$DESKTOP_WORK/detail.avi" || fail "no video could be made"

renderer_is() { layout_of control Form5.WindowsMediaPlayer1 | grep -q " renderer=$1\$"; }

# Plays the video in a fresh start and checks its detail; $1 names the renderer expected.
check_detail() {
    program_start
    # The report gives device pixels, as the pointer and the screenshots count them.
    wait_until -t 10 centre_of moban.Label7 >/dev/null || fail "no tiles"
    read -r cx cy <<<"$(centre_of moban.Label7)"
    xdotool mousemove --sync "$cx" "$cy" click 1
    wait_until window_shown Form5 || fail "the player did not open"
    program_open "$DESKTOP_WORK/detail.avi"
    wait_until playing Form5.WindowsMediaPlayer1 || fail "the video does not play ($1)"
    wait_until renderer_is "$1" \
        || fail "the video is not drawn by the $1 renderer: $(layout_of control Form5.WindowsMediaPlayer1)"
    # The middle of the picture, at even places.
    read -r x y w h <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
    x=$((x / 2)) y=$((y / 2)) w=$((w / 2)) h=$((h / 2))
    crop="$((2 * (w / 2)))x$((2 * (h / 3)))+$((2 * (x + w / 4)))+$((2 * (y + h / 6)))"
    expect_screen 10 "hidpi-$1" drawn "$((2 * (x + w / 4))) $((2 * (y + h / 6))) $((2 * (w / 2))) $((2 * (h / 3)))"
    convert "$SHOTS/hidpi-$1.png" -crop "$crop" +repage "$DESKTOP_WORK/middle.png"
    convert "$DESKTOP_WORK/middle.png" -sample 50% -sample 200% "$DESKTOP_WORK/doubled.png"
    differ=$(compare -metric AE "$DESKTOP_WORK/middle.png" "$DESKTOP_WORK/doubled.png" null: 2>&1) || true
    # A picture of the logical size doubled differs from its sampled copy in no pixel; the
    # software renderer's scaler leaves more fine shading than the OpenGL one, whose count runs
    # lower on flat frames.
    [ "${differ%% *}" -gt $((w * h / 200)) ] || fail "the video is its logical size doubled ($differ pixels differ, $1)"
    expect_alive "at a scale of 2 ($1)"
    program_stop
}

check_detail software
export ZELVORA_RENDER=opengl
check_detail opengl
