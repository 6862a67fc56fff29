# A page of several videos: the video window resolves it through the real yt-dlp into the
# video list, whose checked entries go on the download list under their numbers.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
mkdir -p "$DESKTOP_WORK/site"
make_video "$DESKTOP_WORK/site/clip.mp4"
file_server "$DESKTOP_WORK/site"
{
    echo '<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>合集</title>'
    for i in 1 2 3; do
        echo "<item><title>第${i}集</title><guid>$i</guid><enclosure url=\"$site/clip.mp4?n=$i\" type=\"video/mp4\" length=\"1\"/></item>"
    done
    echo '</channel></rss>'
} >"$DESKTOP_WORK/site/feed.xml"
program_with_site "ytdlp = yt-dlp"

click moban.Label8
wait_until window_shown Form2 || fail "the video download window did not open"
resolve_address "$site/feed.xml"
wait_until -t 30 window_shown heji || fail "the video list did not open"
screenshot video-list
expect_inside heji

note "uncheck all, check the third, download"
click heji.Command2
click_in heji.List1 40 40
click heji.Command3
click heji.Command5
list_file="$PROFILE/my documents/zelv/downloads.lst"
row_done() { awk -F '\t' '$1 == "job" && $6 ~ "03 第3集.mp4$" { print $3 }' "$list_file" 2>/dev/null | grep -qx 3; }
wait_until -t 60 row_done || fail "the checked entry did not finish on the download list as 03 第3集"
rows=$(awk -F '\t' '$1 == "job"' "$list_file" | wc -l)
[ "$rows" = 1 ] || fail "the download list has $rows rows, not the one checked entry"
wait_until window_shown xiazai || fail "the download list did not show"
screenshot queued
expect_alive "after the video list"
