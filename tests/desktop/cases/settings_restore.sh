# The settings window's 还原默认 takes effect at once: a colour applied in the plain-colour mode,
# the window cancelled and opened again, then 还原默认 puts the default colour on the hub and
# the music window at once (before, it only wrote the file).
desktop_start
program_start
open_settings() {
    click moban.Label5
    wait_until window_shown setz || fail "the settings window did not open"
}
# An empty part of the music window in the hub, where its background shows.
background() { rect_of window moban | awk '{ print $1 + 100, $2 + 350, 200, 100 }'; }

open_settings
click setz.Option1
click setz.Text5
xdotool key ctrl+a type --delay 20 "255"
click setz.Command1
click setz.Command2
wait_until window_hidden setz || fail "the settings window did not close"
expect_screen 5 applied colour "$(background)" 255 0 0

open_settings
click setz.Command3
click setz.Command2
wait_until window_hidden setz || fail "the settings window did not close"
expect_screen 5 restored colour "$(background)" 0 254 176
grep -q '^11599360' "$PROFILE/my documents/zelv/skin/ini.db" || fail "the default colour was not saved"
expect_alive "after the restore"
