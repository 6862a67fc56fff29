# The player's network search: its status line stays in sight of the result lists, while the
# search runs and when it has ended, and a search that no site answered says so on screen.
desktop_start
# Every search site answers slowly with a page without links; the probe answers at once.
cat >"$DESKTOP_WORK/server.py" <<'PY'
import http.server, time
class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args): pass
    def do_GET(self):
        time.sleep(0 if self.path.startswith("/probe") else 0.8)
        body = b"<html><body>nothing</body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
PY
python3 "$DESKTOP_WORK/server.py" >"$DESKTOP_WORK/port" &
HELPER_PIDS+=($!)
wait_until test -s "$DESKTOP_WORK/port" || fail "the loopback server did not start"
site="http://127.0.0.1:$(cat "$DESKTOP_WORK/port")"
{
    grep -v '^search\.\|^probe' "$SUITE_DIR/../scripts/offline.cfg"
    echo "probe = $site/probe"
    for s in tudou sohu pptv letv fengx xinlang youku bdhd qovd; do echo "search.$s = $site/$s"; done
} >"$DESKTOP_WORK/zelvora.cfg"
program_start --config "$DESKTOP_WORK/zelvora.cfg"

# status_in_sight WHEN LIST...: the search's status is shown and overlaps none of the lists.
status_in_sight() {
    local list sx sy sw sh x y w h
    control_shown Form5.Label4 || fail "the search's status is hidden ($1)"
    read -r sx sy sw sh <<<"$(rect_of control Form5.Label4)"
    for list in "${@:2}"; do
        read -r x y w h <<<"$(rect_of control "$list")"
        [ $((sx + sw)) -le "$x" ] || [ $((x + w)) -le "$sx" ] || [ $((sy + sh)) -le "$y" ] || [ $((y + h)) -le "$sy" ] ||
            fail "the status ($sx $sy $sw $sh) lies under $list ($x $y $w $h) $1"
    done
}

click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
click Form5.Text4
xdotool key ctrl+a type --delay 20 "test video"
click Form5.Label14
wait_until -t 20 control_shown Form5.List6 || fail "the video results were not shown"
control_shown Form5.List7 || status_in_sight "while the resource sites are searched" Form5.List6
screenshot searching
wait_until -t 20 control_shown Form5.List7 || fail "the resource results were not shown"
status_in_sight "after the search" Form5.List6 Form5.List7
expect_screen 5 searched drawn "$(rect_of control Form5.Label4)"
expect_alive "after the search"
