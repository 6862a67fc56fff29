# Every caption of the hub, the music window and the player can be read, and every control lies
# inside its window: on the default skin, on a light and a dark colour skin and on a picture
# skin (a grey picture, the colour of the hub's unselected tiles). A caption's contrast is
# measured on the screenshot: the colour most of its pixels have is what it is drawn on, the
# pixel that stands out most from it is its text; at least 3:1.
desktop_start
SKIN="$PROFILE/my documents/zelv/skin"
LISTS="$PROFILE/my documents/zelv/Temp"
mkdir -p "$SKIN" "$LISTS"
make_wav "$DESKTOP_WORK/晨曲.wav" 20
make_picture "$DESKTOP_WORK/grey.jpg" '#808080'
printf '>晨曲.wav\r\n>第二首.wav\r\n' >"$LISTS/mname.ini"
printf '%s\r\n%s\r\n' "$DESKTOP_WORK/晨曲.wav" "$DESKTOP_WORK/第二首.wav" >"$LISTS/mpath.ini"

# contrast SHOT X Y W H: the contrast ratio of the caption in the rectangle, times 100.
contrast() {
    convert "$SHOTS/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- | awk '
        function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
        NR > 1 {
            s = $2; gsub(/[()]/, "", s); split(s, v, ",")
            l = 0.2126 * lin(v[1]) + 0.7152 * lin(v[2]) + 0.0722 * lin(v[3])
            if (NR == 2 || l > hi) hi = l
            if (NR == 2 || l < lo) lo = l
            if (++count[s] > most) { most = count[s]; back = l }
        }
        END { up = (hi + 0.05) / (back + 0.05); down = (back + 0.05) / (lo + 0.05); print int((up > down ? up : down) * 100) }'
}

# Checks every caption and every control of the windows on screen.
check_windows() {
    local shot=$1 window name x y w h rest ratio
    screenshot "$shot"
    for window in "${@:2}"; do
        expect_inside "$window"
        while read -r name x y w h rest; do
            ratio=$(contrast "$shot" "$x" "$y" "$w" "$h")
            [ "$ratio" -ge 300 ] || fail "$shot: $name reads at $ratio/100 : 1"
        # The player's drop hint lies under the idle video area (a window of its own) until
        # the area hides; it is not on show there.
        done < <(awk -v w="$window" '$1 == "control" && index($2, w ".") == 1 && (/caption=1/ || $2 == w ".List1") && !($2 == "Form5.Label4" && covered) {
            print $2, $3, $4, $5, $6 }' covered="$(control_shown Form5.WindowsMediaPlayer1 && echo 1)" "$LAYOUT")
    done
}

for skin in default light dark picture; do
    note "skin: $skin"
    case $skin in
    default) rm -f "$SKIN/ini.db" "$SKIN/zelv.jpg" ;;
    light) printf '14743807\r\n%s\r\nchun\r\n' "$SKIN/zelv.jpg" >"$SKIN/ini.db" ;;
    dark) printf '4206624\r\n%s\r\nchun\r\n' "$SKIN/zelv.jpg" >"$SKIN/ini.db" ;;
    picture)
        cp "$DESKTOP_WORK/grey.jpg" "$SKIN/zelv.jpg"
        printf '11599360\r\n%s\r\ntu + chun\r\n' "$SKIN/zelv.jpg" >"$SKIN/ini.db"
        ;;
    esac
    program_start
    wait_until window_shown Form1 || fail "the music window did not open"
    check_windows "$skin-music" moban Form1
    click moban.Label7
    wait_until control_shown Form5.List1 || fail "the player did not open"
    check_windows "$skin-player" Form5
    if [ $skin = default ]; then
        # The video area ends where the player and the hub end.
        click_in Form5.List1 30 8 1 2
        wait_until control_shown Form5.WindowsMediaPlayer1 || fail "the video area did not show"
        check_windows "$skin-playing" Form5
        read -r hx _ hw _ <<<"$(rect_of window moban)"
        read -r vx _ vw _ <<<"$(rect_of control Form5.WindowsMediaPlayer1)"
        [ $((vx + vw)) -le $((hx + hw)) ] || fail "the video area ($vx+$vw) runs past the hub ($hx+$hw)"
    fi
    program_stop
done
