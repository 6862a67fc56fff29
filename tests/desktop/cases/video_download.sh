# The video download window and the split-video window draw their bars of marks in proportion:
# half way through a download the marks reach the middle of what the label leaves them, and a
# finished download's marks end where the label ends. The web play window opened from the
# download window lays its browser over its whole inside, also when the person resizes it.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
# The parsing service and the videos on a loopback server; each video stops at its half for a
# few seconds, so the bar can be looked at there.
cat >"$DESKTOP_WORK/server.py" <<'PY'
import http.server, socketserver, sys, time
SIZE, HOLD = 400000, 5
class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args): pass
    def reply(self, body, kind):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def do_GET(self):
        base = "http://127.0.0.1:%d" % self.server.server_port
        if self.path.startswith("/parse.php"):
            video = lambda n: base + "/video/%d.flv?k=%s" % (n, "p" * 120) + "false;"
            if "split" in self.path:
                address, segments = "分段视频 false;", '<a href="%s">段</a><a href="%s">段</a>' % (video(1), video(0))
            else:
                address, segments = video(0), ""
            page = ('<html><body><strong>当前解析视频：</strong>&nbsp;Bars<strong>x</strong>下载地址：<b><a href="%s">'
                    "下载</a></b><B>暂无</B>%s</body></html>") % (address, segments)
            self.reply(page.encode("gbk"), "text/html")
        elif self.path.startswith("/video/"):
            self.send_response(200)
            self.send_header("Content-Type", "video/x-flv")
            self.send_header("Content-Length", str(SIZE))
            self.end_headers()
            try:
                for sent in range(0, SIZE, 20000):
                    if sent == SIZE // 2 and self.path.startswith("/video/0"):
                        time.sleep(HOLD)
                    self.wfile.write(b"x" * 20000)
                    self.wfile.flush()
            except OSError:
                pass
        else:
            self.reply(b"<html><body>page</body></html>", "text/html")
class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
server = Server(("127.0.0.1", 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
PY
loopback_server "$DESKTOP_WORK/server.py"
program_with_site "site.1 = ${site#http://}"

# dark SHOT LABEL FROM TO: whether the marks' row of a label is dark from FROM to TO per cent of
# its width; light: whether it is free of marks there.
marks_row() { rect_of control "$1" | awk -v f="$2" -v t="$3" '{ print int($1 + $3 * f / 100), $2 + 5, int($3 * (t - f) / 100), 4 }'; }
dark() { colour "$1" "$(marks_row "$2" "$3" "$4")" 0 0 0 110; }
light() {
    local r g b
    # shellcheck disable=SC2046
    read -r r g b <<<"$(mean_colour "$1" $(marks_row "$2" "$3" "$4"))"
    [ $((r + g + b)) -gt 450 ]
}
half_bar() { dark "$1" "$2" "$3" "$4" && light "$1" "$2" "$5" 97; }
full_bar() { dark "$1" "$2" 97 100; }
expect_half_bar() { half_bar "$@" || fail "$1: the marks of $2 are not half way"; }
expect_full_bar() { full_bar "$@" || fail "$1: the marks of $2 do not reach its end"; }

resolve() { resolve_address "$site/play/$1.html"; }

click moban.Label8
wait_until window_shown Form2 || fail "the video download window did not open"
resolve 1
click Form2.Command10
expect_screen 10 video-half half_bar Form2.Label4 30 45 60
expect_screen 15 video-full full_bar Form2.Label4

note "the download is a row of the download list, which the window opens"
list_file="$PROFILE/my documents/zelv/downloads.lst"
row_done() { awk -F '\t' '$1 == "job" && $6 ~ "Bars.flv$" { print $3 }' "$list_file" 2>/dev/null | grep -qx 3; }
wait_until -t 10 row_done || fail "the video is not a finished row of the download list"
click Form2.Command12
wait_until window_shown xiazai || fail "the download list did not open from the video window"
screenshot video-list
close_by_key xiazai
wait_until window_hidden xiazai || fail "the download list did not close"

note "the web play window fills its inside with its browser"
click Form2.Label17
wait_until -t 15 window_shown play || fail "the web play window did not open"
read -r wx wy ww wh <<<"$(rect_of window play)"
read -r bx by bw bh <<<"$(rect_of control play.WebBrowser1)"
[ $((bx + bw)) -le $((wx + ww)) ] && [ $((by + bh)) -le $((wy + wh)) ] && [ $((wx + ww - bx - bw)) -le 4 ] \
    || fail "the browser ($bx $by $bw $bh) does not fill the inside of the window ($wx $wy $ww $wh)"
xdotool windowsize "$(window_id play)" 700 500
browser_is_700_by_500() { [ "$(rect_of control play.WebBrowser1 | awk '{ print $3, $4 }')" = "700 500" ]; }
wait_until browser_is_700_by_500 \
    || fail "the browser ($(rect_of control play.WebBrowser1)) does not follow the window resized to 700 x 500"
screenshot play-resized
close_by_key play
wait_until window_hidden play || fail "the web play window did not close"

note "a split video"
resolve split
wait_until -t 15 window_shown fenge || fail "the split-video window did not open"
wait_until -t 10 control_shown fenge.List1 || fail "the segments are not listed"
sleep 1
click fenge.Command2
# The percentage comes before the marks ("50%"): they have the rest of the label.
expect_screen 10 split-half half_bar fenge.Label4 25 45 65
expect_screen 20 split-full full_bar fenge.Label4
# The join button comes with the last segment, whole inside the window.
wait_until -t 10 control_shown fenge.Command3 || fail "the join button did not show"
sleep 1
expect_inside fenge
expect_alive "after the downloads"
