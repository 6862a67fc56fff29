# A picture opened in the player shows in its browser with the picture's own colour after a
# song played (the video area must not cover the page), fitted to the area (the small picture
# reaches near its left edge), also when the page engine runs without a GPU.
desktop_start
make_wav "$DESKTOP_WORK/tone.wav" 20
make_picture "$DESKTOP_WORK/red.jpg" '#e02040'
for flags in "" "--disable-gpu"; do
    note "page engine flags: ${flags:-none}"
    QTWEBENGINE_CHROMIUM_FLAGS=$flags program_start
    click moban.Label7
    wait_until window_shown Form5 || fail "the player did not open"
    program_open "$DESKTOP_WORK/tone.wav"
    wait_until playing Form5.WindowsMediaPlayer1 || fail "the song does not play"
    program_open "$DESKTOP_WORK/red.jpg"
    wait_until control_shown Form5.WebBrowser3 || fail "the browser did not show"
    # The page shows the picture in its middle and, fitted, out to near the area's left edge.
    area=$(centre_of Form5.WebBrowser3 | awk '{ print $1 - 50, $2 - 40, 100, 80 }')
    expect_screen 20 "picture${flags}" colour "$area" 224 32 64
    edge=$(rect_of control Form5.WebBrowser3 | awk '{ print $1 + 40, $2 + $4 / 2 - 20, 20, 40 }')
    expect_screen 10 "picture${flags}" colour "$edge" 224 32 64
    program_stop
done
