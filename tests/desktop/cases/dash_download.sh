# A page whose video is a DASH presentation, picture and sound apart: the video window resolves
# it through the real yt-dlp, the split-video window fetches each stream's pieces on the
# download list and joins them with ffmpeg into one video that plays for the whole time.
# shellcheck disable=SC2154 # $site is set by loopback_server in desktop.sh
desktop_start
mkdir -p "$DESKTOP_WORK/site"
ffmpeg -loglevel error -y -f lavfi -i "testsrc=size=320x240:rate=25" -f lavfi -i "sine=frequency=440" \
    -t 6 -map 0:v -map 1:a -c:v libx264 -preset ultrafast -g 25 -c:a aac \
    -f dash -seg_duration 1 -use_template 1 -use_timeline 0 "$DESKTOP_WORK/site/index.mpd"
echo '<html><head><meta charset="utf-8"><title>分段视频</title></head><body><video src="index.mpd" controls></video></body></html>' \
    >"$DESKTOP_WORK/site/page.html"
file_server "$DESKTOP_WORK/site"
{
    cat "$SUITE_DIR/../scripts/offline.cfg"
    echo "probe = $site/"
    echo "parse_service = $site"
    echo "ytdlp = yt-dlp"
} >"$DESKTOP_WORK/zelvora.cfg"
program_start --config "$DESKTOP_WORK/zelvora.cfg"

click moban.Label8
wait_until window_shown Form2 || fail "the video download window did not open"
click Form2.Text3
xdotool key ctrl+a type --delay 10 "$site/page.html"
click Form2.Command9
resolved() { control_shown Form2.Command11; }
wait_until -t 30 resolved || fail "the page was not resolved"
sleep 2
screenshot resolved

note "download the high-definition choice: both streams, joined"
click Form2.Command11
wait_until -t 15 window_shown fenge || fail "the split-video window did not open"
folder="$PROFILE/Desktop/Zelvora下载区"
# Named after the page's title (yt-dlp numbers the videos of a page).
joined() { find "$folder" -maxdepth 1 -name '分段视频*.mp4' -size +1k | grep -q .; }
wait_until -t 40 joined || fail "the joined video did not appear"
video=$(find "$folder" -maxdepth 1 -name '分段视频*.mp4')
screenshot joined
streams=$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$video" | sort | tr '\n' ' ')
[ "$streams" = "audio video " ] || fail "the joined video holds the streams '$streams'"
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$video")
awk -v d="$length" 'BEGIN { exit !(d > 5.7 && d < 6.3) }' || fail "the joined video lasts $length s, not 6"
[ -z "$(find "$folder" -name '*.pieces')" ] || fail "the pieces were left behind"
expect_alive "after the join"
