# shellcheck shell=bash
# The desktop suite's helpers: a virtual X display with a window manager (openbox) and a tray
# host (trayer), the real program on it, real X input (xdotool) at the places the program
# reports for its controls, and checks of the live process, the window stack and the pixels
# of screenshots. A case is a bash file in cases/ that run_case.sh sources after these.
#
# The program writes where its windows, controls, tray icon and open menus are to the file
# named by ZELVORA_LAYOUT_REPORT, lines such as
#   window Form5 <X window id> X Y W H
#   control Form5.List1 X Y W H        (a media player ends with state=N volume=V mute=M position=S,
#                                       a label showing a caption with caption=1)
#   fullscreen <X window id> X Y W H bar=0|1   (the player's full-screen window)
#   tray X Y W H
#   menu TEXT X Y W H                  (spaces in the text as _)

: "${ZELVORA:?the program to test}"
: "${DESKTOP_WORK:?a folder for this case}"
SUITE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
LAYOUT="$DESKTOP_WORK/layout"
PROFILE="$DESKTOP_WORK/profile"
SHOTS="$DESKTOP_WORK/shots"
# A single-instance key of its own, so a second start in a case reaches this case's program and
# never a program someone else is running on the machine.
export ZELVORA_INSTANCE="zelvora-desktop-$$"
PROGRAM_PID=""
HELPER_PIDS=()

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$DESKTOP_WORK/program.err" ]; then
        echo "--- the program's error output (last lines)" >&2
        grep -v 'XDG_RUNTIME_DIR\|^ \*\|^$' "$DESKTOP_WORK/program.err" | tail -n 15 >&2 || true
    fi
    if [ -f "$LAYOUT" ]; then
        echo "--- layout" >&2
        grep -v '^control' "$LAYOUT" >&2 || true
    fi
    exit 1
}

note() { echo "# $*"; }

# Runs a command until it succeeds or the seconds are up (default 10); returns its status.
wait_until() {
    local limit=10
    if [ "$1" = "-t" ]; then
        limit=$2
        shift 2
    fi
    local end=$((SECONDS + limit))
    until "$@" 2>/dev/null; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.2
    done
}

stop_all() {
    local pid
    [ -z "$PROGRAM_PID" ] || kill "$PROGRAM_PID" 2>/dev/null || true
    for pid in "${HELPER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}

window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# The screen's work area, "X Y W H": the screen less the panels.
work_area() { xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{ print $1, $2, $3, $4 }'; }

# A virtual screen WIDTHxHEIGHT (default 1280x1024) with openbox and trayer on it.
desktop_start() {
    local size=${1:-1280x1024}
    mkdir -p "$SHOTS" "$PROFILE" "$DESKTOP_WORK/runtime"
    chmod 700 "$DESKTOP_WORK/runtime"
    trap stop_all EXIT
    local number_file="$DESKTOP_WORK/display"
    # A second screen in one case must not read the first one's number.
    rm -f "$number_file"
    Xvfb -displayfd 1 -screen 0 "${size}x24" -nolisten tcp -noreset >"$number_file" 2>"$DESKTOP_WORK/xvfb.err" &
    HELPER_PIDS+=($!)
    wait_until -t 10 test -s "$number_file" || fail "Xvfb did not start"
    DISPLAY=":$(head -n1 "$number_file")"
    export DISPLAY
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    export XDG_RUNTIME_DIR="$DESKTOP_WORK/runtime"
    # DESKTOP_WM=none: a bare display, for a compositor nested on it.
    if [ "${DESKTOP_WM:-}" != none ]; then
        openbox --sm-disable >"$DESKTOP_WORK/openbox.err" 2>&1 &
        HELPER_PIDS+=($!)
        wait_until window_manager_running || fail "openbox did not start"
    fi
    [ "${DESKTOP_TRAY:-}" = late ] || tray_start
}

# The tray host (desktop_start starts it unless DESKTOP_TRAY=late); with DESKTOP_PANEL=N a
# panel N pixels high that keeps its strip of the screen from the windows.
tray_start() {
    local strut=false
    [ -z "${DESKTOP_PANEL:-}" ] || strut=true
    trayer --edge bottom --align right --widthtype request --height "${DESKTOP_PANEL:-24}" --SetDockType true \
        --SetPartialStrut "$strut" \
        >"$DESKTOP_WORK/trayer.err" 2>&1 &
    HELPER_PIDS+=($!)
    wait_until xdotool search --class trayer >/dev/null || fail "trayer did not start"
}

# Starts the program as scripts/run does, with a fresh profile and no outside addresses;
# returns once the hub is on screen.
program_start() {
    QTWEBENGINE_DISABLE_SANDBOX=1 ZELVORA_LAYOUT_REPORT="$LAYOUT" \
        "$ZELVORA" --profile "$PROFILE" --config "$SUITE_DIR/../scripts/offline.cfg" "$@" \
        >"$DESKTOP_WORK/program.out" 2>"$DESKTOP_WORK/program.err" &
    PROGRAM_PID=$!
    wait_until -t 30 window_shown moban || fail "the hub did not appear"
}

# Ends the program (as the desktop ends a session) and waits for it.
program_stop() {
    [ -n "$PROGRAM_PID" ] || return 0
    kill "$PROGRAM_PID" 2>/dev/null || true
    wait "$PROGRAM_PID" 2>/dev/null || true
    PROGRAM_PID=""
    rm -f "$LAYOUT"
}

# Starts the program with the loopback site ($site) as its probe and parsing service, and the
# further configuration lines given.
program_with_site() {
    {
        cat "$SUITE_DIR/../scripts/offline.cfg"
        echo "probe = $site/"
        echo "parse_service = $site"
        [ $# -eq 0 ] || printf '%s\n' "$@"
    } >"$DESKTOP_WORK/zelvora.cfg"
    program_start --config "$DESKTOP_WORK/zelvora.cfg"
}

# Types an address into the video download window and resolves it.
resolve_address() {
    click Form2.Text3
    xdotool key ctrl+a type --delay 10 "$1"
    click Form2.Command9
}

# A second start with files, as a file manager's "open with" does: the running program takes
# them (they go to the player's list as a drop does).
program_open() {
    local f args=()
    for f in "$@"; do args+=("$(readlink -f "$f")"); done
    QTWEBENGINE_DISABLE_SANDBOX=1 timeout 20 "$ZELVORA" --profile "$PROFILE" \
        --config "$SUITE_DIR/../scripts/offline.cfg" "${args[@]}" >/dev/null 2>&1 \
        || fail "the second start did not hand over ${args[*]}"
}

expect_alive() {
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program is gone ($*)"
}

# Whether the program has loaded an OpenGL driver (the software one under Xvfb is big).
opengl_loaded() { grep -qE '/dri/|libGLX_mesa|libEGL_mesa' "/proc/$PROGRAM_PID/maps"; }

# The numbers of a report line: layout_of window moban, layout_of control Form5.List1.
layout_of() {
    [ -f "$LAYOUT" ] || return 1
    awk -v kind="$1" -v name="$2" '$1 == kind && $2 == name { $1 = ""; $2 = ""; print substr($0, 3); found = 1; exit }
        END { exit !found }' "$LAYOUT"
}

window_shown() { layout_of window "$1" >/dev/null; }
# Whether a message box or dialog is on screen.
dialog_open() { [ -f "$LAYOUT" ] && grep -q '^dialog ' "$LAYOUT"; }
dialog_closed() { ! dialog_open; }
control_shown() { layout_of control "$1" >/dev/null; }
window_hidden() { ! window_shown "$1"; }

# The X window id of a shown window.
window_id() { layout_of window "$1" | awk '{ print $1 }'; }

# "X Y W H" of a control, a window or a menu item.
rect_of() {
    local kind=$1 name=$2
    if [ "$kind" = window ]; then
        layout_of window "$name" | awk '{ print $2, $3, $4, $5 }'
    else
        layout_of "$kind" "$name" | awk '{ print $1, $2, $3, $4 }'
    fi
}

# The centre of a control (or of "tray", or of a menu item): "X Y".
centre_of() {
    local kind=control name=$1
    case "$name" in
    tray) kind=tray ;;
    menu:*) kind=menu name=${name#menu:} ;;
    esac
    local r
    if [ "$kind" = tray ]; then
        r=$(awk '$1 == "tray" { print $2, $3, $4, $5; exit }' "$LAYOUT")
    else
        r=$(rect_of "$kind" "$name")
    fi
    [ -n "$r" ] || return 1
    echo "$r" | awk '{ print int($1 + $3 / 2), int($2 + $4 / 2) }'
}

# Moves the pointer to a control (FORM.CONTROL, "tray" or menu:TEXT) and clicks: click NAME
# [button 1|3] [repeat].
click() {
    local name=$1 button=${2:-1} repeat=${3:-1} at
    wait_until -t 10 centre_of "$name" >/dev/null || fail "$name is not on screen"
    at=$(centre_of "$name")
    # shellcheck disable=SC2086
    xdotool mousemove --sync $at
    sleep 0.2
    xdotool click --repeat "$repeat" --delay 80 "$button"
    sleep 0.3
}

dblclick() { click "$1" 1 2; }

# Clicks at a point inside a control, DX DY from its top left corner: click_in NAME DX DY
# [button] [repeat] (a list's first entry, for example).
click_in() {
    local name=$1 dx=$2 dy=$3 button=${4:-1} repeat=${5:-1} r x y
    wait_until -t 10 rect_of control "$name" >/dev/null || fail "$name is not on screen"
    r=$(rect_of control "$name")
    read -r x y _ <<<"$r"
    xdotool mousemove --sync $((x + dx)) $((y + dy))
    sleep 0.2
    xdotool click --repeat "$repeat" --delay 80 "$button"
    sleep 0.3
}

# The play state a media player control reports (3 playing, 1 stopped, 2 paused...).
play_state() { layout_of control "$1" | sed -n 's/.*state=\([0-9]*\).*/\1/p'; }
playing() { [ "$(play_state "$1")" = 3 ]; }
# Another number a media player reports: player_value NAME volume|mute|position.
player_value() { layout_of control "$1" | sed -n "s/.* $2=\([0-9]*\).*/\1/p"; }

# The client windows from bottom to top, as the window manager stacks them (decimal ids).
stacking() {
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g' | tr ' ' '\n' | while read -r id; do
        [ -n "$id" ] && printf '%d\n' "$id"
    done
}

# Whether window A (by name) is stacked above window B.
stacked_above() {
    local a b
    a=$(window_id "$1") b=$(window_id "$2")
    [ -n "$a" ] && [ -n "$b" ] || return 1
    stacking | awk -v a="$a" -v b="$b" '$1 == a { pa = NR } $1 == b { pb = NR } END { exit !(pa && pb && pa > pb) }'
}

expect_above() {
    wait_until -t 5 stacked_above "$1" "$2" || fail "$1 is not above $2 (stack: $(stacking | tr '\n' ' '))"
}

# A picture of the whole screen, kept as SHOTS/NAME.png.
screenshot() {
    # Lets the last changes reach the screen first.
    sleep 0.7
    import -window root "$SHOTS/$1.png" || fail "no screenshot $1"
}

# The mean colour "R G B" (0-255) of a rectangle "X Y W H" of a screenshot.
mean_colour() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5
    convert "$SHOTS/$shot.png" -crop "${w}x${h}+${x}+${y}" +repage -scale '1x1!' \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}

# How much a rectangle's pixels vary (0 for one flat colour, up to about 128).
variation() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5
    convert "$SHOTS/$shot.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray \
        -format '%[fx:round(255*standard_deviation)]' info:
}

# colour SHOT "X Y W H" R G B [tolerance]: whether the rectangle is that colour on average.
colour() {
    local shot=$1 rect=$2 r=$3 g=$4 b=$5 tol=${6:-40} gr gg gb
    # shellcheck disable=SC2086
    read -r gr gg gb <<<"$(mean_colour "$shot" $rect)"
    [ $(((gr - r) * (gr - r) + (gg - g) * (gg - g) + (gb - b) * (gb - b))) -le $((tol * tol)) ]
}

expect_colour() {
    # shellcheck disable=SC2086
    colour "$@" || fail "$1: ($2) is $(mean_colour "$1" $2), not $3 $4 $5"
}

# drawn SHOT "X Y W H": whether the rectangle shows something (not one flat colour).
drawn() {
    # shellcheck disable=SC2086
    [ "$(variation "$1" $2)" -ge 4 ]
}

expect_drawn() {
    # shellcheck disable=SC2086
    drawn "$@" || fail "$1: ($2) is blank (one colour $(mean_colour "$1" $2))"
}

# The controls on show in a window that stick out of it (the window's frame counted in), one
# per line: controls_outside Form5.
controls_outside() {
    awk -v w="$1" '$1 == "window" && $2 == w { x = $4; y = $5; r = $4 + $6; b = $5 + $7 }
        $1 == "control" && index($2, w ".") == 1 { c[$2] = $3 " " $4 " " $3 + $5 " " $4 + $6 }
        END { for (n in c) { split(c[n], e, " "); if (e[1] < x || e[2] < y || e[3] > r || e[4] > b) print n, c[n] } }' "$LAYOUT"
}

expect_inside() {
    local outside
    outside=$(controls_outside "$1")
    [ -z "$outside" ] || fail "controls stick out of $1 ($(rect_of window "$1")): $outside"
}

# Takes screenshots until a check of them holds or the seconds are up:
# expect_screen SECONDS NAME CHECK ARGS... (the check gets NAME first), then checks once more
# to report what the last screenshot showed.
expect_screen() {
    local limit=$1 name=$2 check=$3
    shift 3
    local end=$((SECONDS + limit))
    while :; do
        screenshot "$name"
        "$check" "$name" "$@" && return 0
        [ $SECONDS -lt $end ] || break
    done
    "expect_$check" "$name" "$@"
}

# Media made for a case: a WAV tone, a video of one bright colour, a picture of one colour.
make_wav() { sox -q -n -r 44100 -c 2 "$1" synth "${2:-5}" sine 440 vol 0.2; }
# make_video FILE [FRAMES [CODEC]]: 25 frames a second, MPEG-4 unless told (the container
# is the file's extension).
make_video() {
    ffmpeg -loglevel error -y -f lavfi -i "color=c=0x20c020:s=320x240:r=25" -frames:v "${2:-100}" \
        -c:v "${3:-mpeg4}" -pix_fmt yuv420p "$1"
}
make_picture() { convert -size 320x240 "xc:$2" "$1"; }

# loopback_server SCRIPT [ARGS...]: starts a Python server script that prints its port first,
# stopped with the case, and sets $site to its address.
loopback_server() {
    python3 "$@" >"$DESKTOP_WORK/port" &
    HELPER_PIDS+=($!)
    wait_until test -s "$DESKTOP_WORK/port" || fail "the loopback server did not start"
    # shellcheck disable=SC2034 # read by the cases
    site="http://127.0.0.1:$(cat "$DESKTOP_WORK/port")"
}
# file_server DIR: serves the files of DIR on a loopback address ($site).
file_server() {
    loopback_server -c "import http.server as h, functools as f, sys
s = h.ThreadingHTTPServer(('127.0.0.1', 0), f.partial(h.SimpleHTTPRequestHandler, directory=sys.argv[1]))
print(s.server_port, flush=True)
s.serve_forever()" "$1"
}

# Closes a window as a person does from the keyboard: the window manager's close key (alt+F4)
# on the window, once it has the focus.
active_window_is() { [ "$(xdotool getactivewindow)" = "$1" ]; }
close_by_key() {
    local id
    id=$(window_id "$1")
    xdotool windowactivate --sync "$id"
    wait_until active_window_is "$id" || fail "$1 has no focus"
    xdotool key alt+F4
}
