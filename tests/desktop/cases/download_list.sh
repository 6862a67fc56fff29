# The download list, opened from the tray menu: a typed address goes on the list and runs; a
# paused row stays paused (the list file says so), a row moved up runs first, a resumed row
# finishes byte for byte, and "打开文件夹" opens the download folder.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
# Two files on a loopback server; the first one comes slowly, so it can be paused.
mkdir -p "$DESKTOP_WORK/site"
head -c 3000000 /dev/urandom >"$DESKTOP_WORK/site/slow.bin"
head -c 200000 /dev/urandom >"$DESKTOP_WORK/site/quick.bin"
cat >"$DESKTOP_WORK/server.py" <<'PY'
import http.server, os, socketserver, sys, time
ROOT = sys.argv[1]
class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def log_message(self, *args): pass
    def do_HEAD(self): self.answer(False)
    def do_GET(self): self.answer(True)
    def answer(self, body):
        data = open(os.path.join(ROOT, os.path.basename(self.path)), "rb").read()
        first, last = 0, len(data) - 1
        ranged = self.headers.get("Range", "").startswith("bytes=")
        if ranged:
            a, b = self.headers["Range"][6:].split("-")
            first, last = int(a), (int(b) if b else len(data) - 1)
        self.send_response(206 if ranged else 200)
        self.send_header("Content-Length", str(last - first + 1))
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("ETag", '"%d"' % len(data))
        if ranged:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, len(data)))
        self.end_headers()
        if not body:
            return
        try:
            for at in range(first, last + 1, 16384):
                self.wfile.write(data[at:min(at + 16384, last + 1)])
                if "slow" in self.path:
                    time.sleep(0.2)
        except OSError:
            pass
class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
server = Server(("127.0.0.1", 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
PY
loopback_server "$DESKTOP_WORK/server.py" "$DESKTOP_WORK/site"
# The desktop's opener records what it is asked to open.
mkdir -p "$DESKTOP_WORK/bin"
printf '#!/bin/sh\necho "$@" >>"%s/opened"\n' "$DESKTOP_WORK" >"$DESKTOP_WORK/bin/xdg-open"
chmod +x "$DESKTOP_WORK/bin/xdg-open"
PATH="$DESKTOP_WORK/bin:$PATH" program_start

list_file="$PROFILE/my documents/zelv/downloads.lst"
# state_of NAME: the state number of the row whose file ends in NAME (0 waiting ... 3 done).
state_of() { awk -F '\t' -v n="$1" '$1 == "job" && $6 ~ n"$" { print $3 }' "$list_file" 2>/dev/null; }
first_row() { awk -F '\t' '$1 == "job" { print $6; exit }' "$list_file"; }
is_state() { [ "$(state_of "$1")" = "$2" ]; }
add_address() {
    click xiazai.Text4
    xdotool key ctrl+a type --delay 10 "$1"
    click xiazai.Command10
}

click tray 3
wait_until -t 5 centre_of "menu:下载列表" >/dev/null || fail "the tray menu has no 下载列表"
click "menu:下载列表"
wait_until window_shown xiazai || fail "the download list did not open"
click xiazai.Text1
xdotool key ctrl+a type 1
add_address "$site/slow.bin"
add_address "$site/quick.bin"
wait_until -t 10 is_state slow.bin 1 || fail "the first download did not start"
screenshot running

note "pause the running row"
click_in xiazai.List1 40 8
click xiazai.Command1
wait_until -t 5 is_state slow.bin 2 || fail "the row did not pause"
note "move the waiting row up: it runs and ends"
click_in xiazai.List1 40 24
click xiazai.Command6
quick_first() { [[ "$(first_row)" == *quick.bin ]]; }
wait_until -t 5 quick_first || fail "the row did not move up"
wait_until -t 20 is_state quick.bin 3 || fail "the moved row did not finish"
is_state slow.bin 2 || fail "the paused row did not stay paused"
screenshot paused-and-done

note "resume"
click_in xiazai.List1 40 24
click xiazai.Command2
wait_until -t 60 is_state slow.bin 3 || fail "the resumed row did not finish"
folder="$PROFILE/Desktop/Zelvora下载区"
cmp -s "$folder/slow.bin" "$DESKTOP_WORK/site/slow.bin" || fail "the resumed file is not the server's"
cmp -s "$folder/quick.bin" "$DESKTOP_WORK/site/quick.bin" || fail "the moved file is not the server's"
screenshot finished

note "open folder"
click xiazai.Command9
wait_until -t 10 grep -q "Zelvora下载区" "$DESKTOP_WORK/opened" 2>/dev/null \
    || fail "the folder was not opened (file manager or opener)"
expect_alive "after the download list"
