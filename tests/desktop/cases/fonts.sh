# The fonts a distribution brings instead of the ones the windows were laid out with: with only
# Noto Sans CJK the hub's title shows whole on its line; with no font for Chinese at all a
# message says once why the captions are boxes.
fonts_only() {
    local conf="$DESKTOP_WORK/fonts-$1.conf" dir
    {
        echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>'
        for dir in "${@:2}"; do echo "<dir>$dir</dir>"; done
        echo "<cachedir>$DESKTOP_WORK/fontcache</cachedir></fontconfig>"
    } >"$conf"
    echo "$conf"
}
desktop_start

note "only Noto Sans CJK"
FONTCONFIG_FILE=$(fonts_only noto /usr/share/fonts/opentype/noto) program_start
wait_until window_shown Form1 || fail "the online music window did not open"
dialog_closed || fail "a font covering Chinese was taken for none"
screenshot noto
read -r lx ly lw lh <<<"$(rect_of control moban.Label2)"
# The title's text: the columns of the label that differ from the hub's background beside it.
convert "$SHOTS/noto.png" -crop "${lw}x${lh}+${lx}+${ly}" +repage -colorspace Gray -threshold 50% -negate \
    -trim -format '%w\n' info: >"$DESKTOP_WORK/ink"
read -r iw <"$DESKTOP_WORK/ink"
# The whole title fills its label's width; cut after the address's host it falls short.
[ "$iw" -ge $((lw * 92 / 100)) ] || fail "the hub's title is cut short with Noto Sans CJK: $iw of $lw pixels inked"
program_stop

note "no font for Chinese"
FONTCONFIG_FILE=$(fonts_only latin /usr/share/fonts/truetype/dejavu) program_start
wait_until dialog_open || fail "nothing says that no font can show Chinese"
screenshot no-chinese-font
xdotool key Return
wait_until dialog_closed || fail "the message did not close"
sleep 1
dialog_closed || fail "the message came again"
expect_alive "after the message about fonts"
