# The notification area goes away (a panel that quits) while the program waits in it with every
# window hidden: the icon's stand-in takes its place, a download that ends shows its notice as
# a balloon above the stand-in, and a click on the balloon opens the download list.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
tray_pid=${HELPER_PIDS[-1]}
mkdir -p "$DESKTOP_WORK/site"
head -c 300000 /dev/urandom >"$DESKTOP_WORK/site/slow.bin"
# The file comes slowly, so the download runs on while the windows and the panel go.
loopback_server -c "import http.server as h, sys, time
class Slow(h.SimpleHTTPRequestHandler):
    def copyfile(self, source, out):
        for block in iter(lambda: source.read(30000), b''):
            out.write(block)
            time.sleep(0.5)
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

note "the panel quits: the stand-in shows"
kill "$tray_pid"
stand_in() { awk '$1 == "tray" { exit !($2 > 1100 && $3 > 900 && $4 == 40) } END { exit NR == 0 }' "$LAYOUT"; }
wait_until -t 10 stand_in || fail "no stand-in in the corner ($(grep '^tray' "$LAYOUT"))"
list_file="$PROFILE/my documents/zelv/downloads.lst"
row_done() { awk -F '\t' '$1 == "job" { print $3 }' "$list_file" 2>/dev/null | grep -qx 3; }
wait_until -t 30 row_done || fail "the download did not finish"
sleep 1
screenshot balloon
# The balloon is light and stands above the stand-in, its right edge with the icon's.
read -r tx ty <<<"$(centre_of tray)"
expect_colour balloon "$((tx - 120)) $((ty - 70)) 60 10" 255 255 225 30

note "a click on the balloon opens the download list"
xdotool mousemove $((tx - 120)) $((ty - 60)) click 1
wait_until -t 5 window_shown xiazai || fail "a click on the balloon did not open the download list"
screenshot list-from-balloon
expect_alive "after the balloon"
