# A video page whose own quality menu lists more than yt-dlp finds: the video window resolves
# it through the real yt-dlp and shows the login line naming the highest quality, beside the
# retry link, clear of the drop-down of formats.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
mkdir -p "$DESKTOP_WORK/site"
ffmpeg -loglevel error -y -f lavfi -i "color=c=0x20c020:s=640x360:r=25" -frames:v 25 -c:v mpeg4 \
    "$DESKTOP_WORK/site/clip.mp4"
cat >"$DESKTOP_WORK/site/play.html" <<'HTML'
<html><head><meta charset="utf-8"><title>画质菜单</title></head><body>
<video controls><source src="clip.mp4" type="video/mp4" label="360p" res="360"></video>
<ul class="quality"><li>1080P 高清</li><li>720P 准高清</li><li>360P 流畅</li></ul></body></html>
HTML
file_server "$DESKTOP_WORK/site"
program_with_site "ytdlp = yt-dlp"

click moban.Label8
wait_until window_shown Form2 || fail "the video download window did not open"
resolve_address "$site/play.html"
wait_until -t 30 control_shown Form2.Label18 || fail "the login line did not show"
control_shown Form2.Label19 || fail "the retry link did not show"
screenshot login-line
note "the retry link, clear of the drop-down of formats, opens the site to log in"
click Form2.Label19
wait_until -t 15 window_shown play || fail "the retry link did not open the site"
screenshot login-site
expect_alive "after the login line"
