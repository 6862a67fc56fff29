# A download that ends while every window is hidden shows the tray icon's notice, and a click
# on the notice opens the download list.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
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
expect_alive "after the notice"
