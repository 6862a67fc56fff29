# A laptop screen of 1280 x 720 with a 40 px panel, and a 1920 x 1080 screen at 150 %: the
# hub with its child (730 designed pixels high) is made smaller to fit the work area, so every
# control is on screen above the panel, and the tiles and the hub's drag still work there.

# Whether every window, and every control as far as its window shows it, lies inside the
# work area.
all_inside_work_area() {
    local ax ay aw ah
    read -r ax ay aw ah <<<"$(work_area)"
    awk -v ax="$ax" -v ay="$ay" -v aw="$aw" -v ah="$ah" '
        function max(a, b) { return a > b ? a : b }
        function min(a, b) { return a < b ? a : b }
        $1 == "window" { x = $4; y = $5; r = x + $6; b = y + $7; wx[$2] = x; wy[$2] = y; wr[$2] = r; wb[$2] = b }
        $1 == "control" { split($2, n, "."); x = max($3, wx[n[1]]); y = max($4, wy[n[1]])
            r = min($3 + $5, wr[n[1]]); b = min($4 + $6, wb[n[1]]) }
        ($1 == "window" || $1 == "control") && r > x && b > y \
            && (x < ax || y < ay || r > ax + aw || b > ay + ah) { print; bad = 1 }
        END { exit bad }' "$LAYOUT"
}

check_screen() {
    wait_until window_shown Form1 || fail "the online music window did not open ($1)"
    wait_until all_inside_work_area \
        || fail "$1: outside the work area $(work_area): $(all_inside_work_area | head -n 5)"
    click moban.Label7
    wait_until window_shown Form5 || fail "the player did not open ($1)"
    wait_until all_inside_work_area \
        || fail "$1: the player leaves the work area $(work_area): $(all_inside_work_area | head -n 5)"
    # The update line at the hub's bottom still answers.
    control_shown moban.Label1 || fail "the update line is not shown ($1)"
    screenshot "$1"
    # The hub drags with its child, the child kept glued at the (smaller) title height.
    local hx hy px py
    read -r hx hy _ _ <<<"$(rect_of window moban)"
    read -r px py _ _ <<<"$(rect_of window Form5)"
    # The title strip's background right of the title, above the tiles.
    xdotool mousemove --sync $((hx + 650)) $((hy + 12)) mousedown 1 mousemove --sync $((hx + 630)) $((hy + 14)) \
        mousemove --sync $((hx + 610)) $((hy + 16)) mouseup 1
    moved() { [ "$(rect_of window moban | awk '{ print $1 }')" -lt "$hx" ]; }
    wait_until moved || fail "the hub did not follow the drag ($1)"
    read -r nx ny _ _ <<<"$(rect_of window moban)"
    read -r qx qy _ _ <<<"$(rect_of window Form5)"
    # (A scaled screen rounds each window's place to its own pixels: one either way.)
    [ $(((qx - nx - px + hx) ** 2 + (qy - ny - py + hy) ** 2)) -le 2 ] \
        || fail "the player came loose from the hub in the drag ($1)"
}

panel_reserved() { [ "$(work_area | awk '{ print $4 }')" = "$1" ]; }
DESKTOP_PANEL=40 desktop_start 1280x720
wait_until panel_reserved 680 || fail "the panel keeps no strip: $(work_area)"
program_start
check_screen small

program_stop
DESKTOP_PANEL=40 desktop_start 1920x1080
wait_until panel_reserved 1040 || fail "the panel keeps no strip: $(work_area)"
QT_SCALE_FACTOR=1.5 program_start
check_screen scaled
