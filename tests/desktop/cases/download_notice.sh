# A download that ends while every window is hidden shows the tray icon's notice, and a click
# on the notice opens the download list. When the notification area then goes away (a panel
# that quits), the icon's stand-in takes its place and the next download's notice is a balloon
# above it, which opens the list as well.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
tray_pid=${HELPER_PIDS[-1]}
mkdir -p "$DESKTOP_WORK/site"
head -c 600000 /dev/urandom >"$DESKTOP_WORK/site/slow.bin"
# The file comes slowly, so the download runs on while the windows go.
loopback_server -c "import http.server as h, sys, time
class Slow(h.SimpleHTTPRequestHandler):
    def copyfile(self, source, out):
        for block in iter(lambda: source.read(60000), b''):
            out.write(block)
            time.sleep(0.4)
s = h.ThreadingHTTPServer(('127.0.0.1', 0), lambda *a: Slow(*a, directory=sys.argv[1]))
print(s.server_port, flush=True)
s.serve_forever()" "$DESKTOP_WORK/site"
program_start

click tray 3
wait_until -t 5 centre_of "menu:下载列表" >/dev/null || fail "the tray menu has no 下载列表"
click "menu:下载列表"
wait_until window_shown xiazai || fail "the download list did not open"
click xiazai.Text4
xdotool key ctrl+a type --delay 10 "$site/slow.bin"
click xiazai.Command10
close_by_key xiazai
click moban.Label3
wait_until window_hidden moban || fail "the hub did not close to the tray"
list_file="$PROFILE/my documents/zelv/downloads.lst"
row_done() { awk -F '\t' '$1 == "job" { print $3 }' "$list_file" 2>/dev/null | grep -qx 3; }
wait_until -t 30 row_done || fail "the download did not finish"
sleep 1
screenshot notice

note "a click on the notice (above and left of the icon) opens the download list"
read -r tx ty <<<"$(centre_of tray)"
xdotool mousemove $((tx - 70)) $((ty - 35)) click 1
wait_until -t 5 window_shown xiazai || fail "a click on the notice did not open the download list"
screenshot list-from-notice

note "the panel quits: the next notice is a balloon above the stand-in"
cp "$DESKTOP_WORK/site/slow.bin" "$DESKTOP_WORK/site/second.bin"
click xiazai.Text4
xdotool key ctrl+a type --delay 10 "$site/second.bin"
click xiazai.Command10
close_by_key xiazai
wait_until window_hidden xiazai || fail "the download list did not close"
kill "$tray_pid"
stand_in() { awk '$1 == "tray" { exit !($2 > 1100 && $3 > 900 && $4 == 40) } END { exit NR == 0 }' "$LAYOUT"; }
wait_until -t 10 stand_in || fail "no stand-in in the corner ($(grep '^tray' "$LAYOUT"))"
both_done() { [ "$(awk -F '\t' '$1 == "job" && $3 == 3' "$list_file" 2>/dev/null | wc -l)" = 2 ]; }
wait_until -t 30 both_done || fail "the second download did not finish"
sleep 1
screenshot balloon
# The balloon is light and stands above the stand-in, its right edge with the icon's.
read -r tx ty <<<"$(centre_of tray)"
expect_colour balloon "$((tx - 120)) $((ty - 70)) 60 10" 255 255 225 30
xdotool mousemove $((tx - 120)) $((ty - 60)) click 1
wait_until -t 5 window_shown xiazai || fail "a click on the balloon did not open the download list"
screenshot list-from-balloon
expect_alive "after the notices"
