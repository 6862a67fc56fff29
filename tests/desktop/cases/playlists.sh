# Playlists of other players: an extended M3U of a Windows player opened with the program (as
# a drop is), a PLS with gaps imported from the playlist menu, and the list exported as XSPF
# and read back.
desktop_start
program_start
lists="$DESKTOP_WORK/lists"
mkdir -p "$lists/songs"
for f in a b c; do make_wav "$lists/songs/$f.wav" 20; done
printf '#EXTM3U\r\n#EXTINF:20,晨曲\r\nsongs\\a.wav\r\nC:\\Music\\gone.mp3\r\n' >"$lists/win.m3u"
printf '[playlist]\nFile1=songs/b.wav\nTitle1=午后\nFile3=file://%s/songs/c.wav\nNumberOfEntries=2\n' "$lists" \
    >"$lists/radio.pls"
paths="$PROFILE/my documents/zelv/Temp/mpath.ini"
names="$PROFILE/my documents/zelv/Temp/mname.ini"
listed() { grep -q "$1" "$paths"; }

click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
note "opened with the program, as a drop"
program_open "$lists/win.m3u"
wait_until listed "$lists/songs/a.wav" || fail "the M3U was not imported ($(cat "$paths" 2>/dev/null))"
grep -q '>晨曲' "$names" || fail "the title of #EXTINF is not the name ($(cat "$names"))"
listed gone && fail "a missing file was listed"

note "imported from the playlist menu"
menu_dialog() {
    click_in Form5.List1 30 8 3
    click "menu:$1"
    wait_until -t 10 xdotool search --name "$2" >/dev/null || fail "no dialog $2"
    sleep 0.5
    xdotool type --delay 20 "$3"
    xdotool key Return
}
menu_dialog 导入播放列表... 导入播放列表 "$lists/radio.pls"
wait_until listed "$lists/songs/c.wav" || fail "the PLS was not imported ($(cat "$paths"))"
grep -q '>午后' "$names" || fail "the PLS title is not the name"

note "exported as XSPF and read back"
menu_dialog 导出播放列表... 导出播放列表 "$lists/out.xspf"
wait_until test -s "$lists/out.xspf" || fail "nothing was exported"
for f in a b c; do
    grep -q "<location>file://$lists/songs/$f.wav</location>" "$lists/out.xspf" || fail "$f is not in the export"
done
grep -q '<title>午后</title>' "$lists/out.xspf" || fail "the titles were not exported"
expect_alive "after the playlists went in and out"
