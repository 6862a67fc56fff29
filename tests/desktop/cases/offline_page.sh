# A web address the person opens that cannot be reached (a closed port: the connection is
# refused) shows a note naming the address and why, not a blank page.
desktop_start
program_start
click moban.Label7
wait_until window_shown Form5 || fail "the player did not open"
# A loopback port nothing listens on (the browser itself refuses the well-known closed ones).
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
click Form5.Text4
xdotool key ctrl+a
xdotool type --delay 20 "http://127.0.0.1:$port/offline-check"
click Form5.Label14
wait_until -t 15 control_shown Form5.WebBrowser3 || fail "the browser did not show"
page=$(rect_of control Form5.WebBrowser3 | awk '{ print $1 + 20, $2 + 40, $3 - 40, 160 }')
expect_screen 20 unreachable drawn "$page"
expect_alive "after a page that could not be reached"
