#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/file_download.h"
#include "downloads/download_queue.h"
#include "platform/result.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"
#include "video/web_formats.h"

namespace video {

// The split-video downloader: gathers the segment addresses of a split video from the
// parsing service's result page and downloads the segments one after the other.
class fenge : public runtime::Form {
public:
    explicit fenge(runtime::App& app);
    void load() override;
    void unloading() override;

    // Loads the result page whose links are read.
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    // The link addresses, last link first, one per line.
    runtime::TextBox Text1 { *this, "Text1" };
    // The segment addresses: the working list and the list shown.
    runtime::ListBox List2 { *this, "List2" };
    runtime::ListBox List1 { *this, "List1" };
    // The index of the next segment to fetch.
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::Label Label1 { *this, "Label1" };
    // The video name.
    runtime::Label Label3 { *this, "Label3" };
    // Percentage and bar, speed, status, hint.
    runtime::Label Label4 { *this, "Label4" };
    runtime::Label Label5 { *this, "Label5" };
    runtime::Label Label8 { *this, "Label8" };
    runtime::Label Label9 { *this, "Label9" };
    // Bytes done of all segments, the speed and the time left.
    runtime::Label Label10 { *this, "Label10" };
    // "合并为一个视频": joins the fetched segments into one video, in the page's order.
    runtime::CommandButton Command3 { *this, "Command3" };
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::Timer Timer2 { *this, "Timer2" };

    void Timer1_Timer();
    void Timer2_Timer();
    void Command2_Click();
    void Text1_Change();
    void Command3_Click();
    void oDownload_OnProgress(int64_t lProgress, int64_t lMaxProgress, int32_t lSpeed, int32_t lStatusCode,
        const std::string& sStatusText);

private:
    // Centres the window over the video download window.
    void centreOverResolver();
    // Makes room at the bottom for the join button, or takes it back.
    void showJoinRow(bool shown);
    // The file of segment index.
    [[nodiscard]] std::string segmentPath(int index) const;
    // Downloads segment index, with the ones after it on the list meanwhile; true when it
    // arrived whole.
    bool fetchSegment(int index);
    [[nodiscard]] downloads::JobRequest segmentRequest(int index) const;
    void putSegmentsAhead(int from);
    // Downloads the web track piece index belongs to, its pieces side by side and joined in
    // order on the download list; true when it arrived whole.
    bool fetchWebTrack(int index);
    // Asks the lengths still unknown, all at once, while the app's events keep running.
    void measureSegments();
    // Shows the line of the whole video: bytes done, total, speed, time left.
    void showOverall(int64_t currentBytes);
    // Shows the bar of the transfer at fraction (0 to 1) and the speed of the run with bytes
    // of the transfer arrived.
    void showBar(double fraction);
    void showSpeed(int64_t bytes);

    // A format from yt-dlp in pieces: lists the pieces of its tracks and fetches them.
    void beginWebJoin(WebJoin job);
    // The pieces of one track, or the status line saying why there are none.
    platform::Result<std::vector<std::string>> trackPieces(const WebFormat& track);
    // The track piece index belongs to, where the pieces of a track end, and the file the
    // track's pieces are joined into.
    [[nodiscard]] size_t webTrackOf(int index) const;
    [[nodiscard]] size_t webTrackEnd(size_t track) const;
    [[nodiscard]] std::string webTrackPath(size_t track) const;
    // After the last piece: the web format's pieces are joined, a split video's offered.
    void piecesFetched();
    void joinWebPieces();
    // Whether the segment files all hold container, each with the streams of the first; the
    // status line says why not.
    bool segmentsJoinable(const std::vector<std::string>& files, const std::string& container);
    // Runs ffmpeg with inputs (and their options) into target through a temporary file;
    // true when target was written. The status line says what happened.
    bool runFfmpeg(const std::vector<std::string>& inputs, const std::string& target);

    // The web format being fetched: its tracks, where each track's pieces start, and the
    // folder that keeps the pieces until they are joined.
    struct WebRun {
        WebJoin job;
        std::vector<size_t> firsts;
        std::string folder;
    };
    std::optional<WebRun> m_web;
    // The name of the split video's files, taken at the first start.
    std::string m_name;

    // The whole video's figures: each segment's announced length (-1 unknown), the segment
    // being fetched, and the bytes and time at which this run started.
    struct Overall {
        std::vector<int64_t> sizes;
        int current = 0;
        int64_t startBytes = -1;
        int64_t startMs = 0;
    } m_overall;
    // The time on the app's clock, as the last report of the list gave it where that is later.
    int64_t now();
    // This run's transfers: when the first one started (0 before), the bytes of the pieces
    // finished and of the piece arriving, and the HTTP status of the last one.
    struct RunTransfers {
        int64_t startMs = 0;
        int64_t doneBytes = 0;
        int64_t pieceBytes = 0;
        int status = 0;
        // The time of the list's last report (0 before).
        int64_t reportMs = 0;
        // The bytes of the segments after the one awaited, as the list last had them.
        int64_t aheadBytes = 0;
    } m_run;
    // The segments of this run on the list: their index, then the list's row.
    std::map<int, int> m_ahead;
};

// The window's status texts.
inline constexpr const char* kSplitDone
    = "状态：分割视频全部下载完成，请检查桌面上“Zelvora下载区”文件夹内的视频";
inline constexpr const char* kSplitFailed = "状态：下载失败，您刚刚断网了请重新下载";

} // namespace video
