// The download job of the split-video downloader: the segment loop with its resume
// counter, the bar and speed of a segment, and the figure of the whole video.
#include <algorithm>
#include <utility>

#include "downloads/awaited_download.h"
#include "downloads/list_window.h"
#include "platform/network.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/download_folder.h"
#include "video/split_window.h"
#include "video/web_cookies.h"

namespace video {

namespace {

constexpr int kBarMarks = 274;

std::string megabytes(int64_t bytes)
{
    return vb::Format00(static_cast<double>(bytes) / (1024.0 * 1024.0)) + " MB";
}

std::string duration(int64_t seconds)
{
    const auto two = [](int64_t v) { return (v < 10 ? "0" : "") + vb::Str(v); };
    return two(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

} // namespace

std::string fenge::segmentPath(int index) const
{
    return downloadFolder(app()) + "/" + m_name + "(" + vb::Str(index) + ")" + ".flv";
}

int64_t fenge::now()
{
    // The app's clock; a virtual one stands still while the list is waited for, and the
    // list's steps tell the time they gave the network.
    return std::max(app().now(), m_run.reportMs);
}

void fenge::Timer2_Timer()
{
    runtime::App& a = app();
    const bool folderReady = ensureDownloadFolder(a);
    int counter = static_cast<int>(vb::Val(Text3.text()));
    // Sound: the counter never goes below 0, whatever the box holds.
    counter = std::max(counter, 0);
    // Each start puts the segments on the list afresh from the counter on.
    m_ahead.clear();
    if (folderReady && counter <= List1.listCount() - 1 && !m_web) {
        // The asking may take a while: the status of an earlier run gives way first.
        Label8.setCaption("状态：正在获取各片段的大小...");
        measureSegments();
        // Closed while the lengths were asked: nothing was fetched, the counter stays.
        if (!loaded())
            return;
    }
    for (; counter <= List1.listCount() - 1; Text3.setText(vb::Str(counter))) {
        Label8.setCaption("状态：正在下载第" + vb::Str(counter + 1) + "个视频");
        if (!folderReady || !(m_web ? fetchWebTrack(counter) : fetchSegment(counter))) {
            // Sound: a server's error answer is named, not taken for a lost connection.
            const std::string refusal = common::serverRefusal(folderReady ? m_run.status : 0);
            Label8.setCaption(refusal.empty() ? kSplitFailed : "状态：下载失败：" + refusal + "，请重新下载");
            Command2.setEnabled(true);
            // Designed: the counter steps back one, so the next start fetches the segment
            // before the failed one again. Sound: a failure on the first segment retries
            // segment 0, never entry -1. A web track starts again at its own first piece: the
            // list keeps the pieces it fetched, and the track before it is whole.
            Text3.setText(vb::Str(m_web ? counter : std::max(counter - 1, 0)));
            Timer2.setEnabled(false);
            return;
        }
        counter = m_web ? static_cast<int>(webTrackEnd(webTrackOf(counter))) : counter + 1;
        // Closing the window ends the run after the segment that was arriving.
        if (!loaded()) {
            Text3.setText(vb::Str(counter));
            return;
        }
        Timer2.start(1);
    }
    Label8.setCaption(kSplitDone);
    Timer2.setEnabled(false);
    piecesFetched();
}

downloads::JobRequest fenge::segmentRequest(int index) const
{
    // The video's name was free when its run began: a segment file of that name is this
    // video's own (an earlier start's, or the list's after a restart), and the join expects
    // the name.
    return { .title = m_name + "(" + vb::Str(index) + ")",
        .url = List1.list(index),
        .file = segmentPath(index),
        .oneTry = true,
        .replace = true,
        .size = index < static_cast<int>(m_overall.sizes.size()) ? m_overall.sizes[static_cast<size_t>(index)]
                                                                 : 0 };
}

void fenge::putSegmentsAhead(int from)
{
    // The segments from the one awaited on, as many as the list fetches pieces of one download
    // at once, go on the list together; the list runs them side by side.
    const int ahead = downloads::downloadQueue(app()).settings().connections;
    for (int i = from; i < std::min(from + ahead, List1.listCount()); ++i) {
        if (!m_ahead.contains(i))
            m_ahead[i] = downloads::putOnList(app(), segmentRequest(i));
    }
}

bool fenge::fetchSegment(int index)
{
    runtime::App& a = app();
    m_overall.current = index;
    // The run's time starts with its first transfer.
    if (m_run.startMs == 0)
        m_run.startMs = now();
    // The window waits for the lowest segment unfinished and shows its bar; the bytes of those
    // after it count in the speed and the whole video's line.
    putSegmentsAhead(index);
    const downloads::AwaitedDownload outcome = downloads::awaitDownload(
        a, m_ahead[index], [this, index](long long received, long long size, int64_t nowMs) {
            m_run.reportMs = nowMs;
            m_run.aheadBytes = 0;
            for (const auto& [later, id] : m_ahead) {
                const downloads::Job* job = downloads::downloadQueue(app()).job(id);
                m_run.aheadBytes += later > index && job ? job->received : 0;
            }
            oDownload_OnProgress(received, size, 0, 0, "");
            return loaded();
        });
    m_ahead.erase(index);
    m_run.aheadBytes = 0;
    if (!loaded()) {
        // The list carries the segments after it on as well, patient as with its own.
        for (const auto& [later, id] : m_ahead)
            downloads::downloadQueue(a).setOneTry(id, false);
    }
    m_run.status = outcome.status;
    m_run.doneBytes += std::exchange(m_run.pieceBytes, 0);
    return outcome.state == downloads::JobState::Done;
}

bool fenge::fetchWebTrack(int index)
{
    runtime::App& a = app();
    const size_t track = webTrackOf(index);
    const WebFormat& format = m_web->job.tracks[track];
    m_overall.current = index;
    if (m_run.startMs == 0)
        m_run.startMs = now();
    const auto& all = List1.items();
    std::vector<std::string> pieces(all.begin() + static_cast<long>(m_web->firsts[track]),
        all.begin() + static_cast<long>(webTrackEnd(track)));
    // The pieces go on the list as one download, fetched side by side and joined there in
    // order; a track that is one file comes in ranges instead.
    downloads::JobRequest request { .title
        = m_web->job.name + "(" + vb::Str(static_cast<int64_t>(track)) + ")",
        .url = pieces.front(),
        .file = webTrackPath(track),
        .headers = webHeaders(a, format, pieces.front()),
        .oneTry = true,
        .replace = true };
    if (format.fragmented())
        request.pieces = std::move(pieces);
    const downloads::AwaitedDownload outcome = downloads::downloadAndWait(
        a, request, [this, &request](long long received, long long size, int64_t nowMs) {
            m_run.reportMs = nowMs;
            // The bar of pieces shows the part of them joined, that of a file its bytes.
            const downloads::Job* row = nullptr;
            for (const downloads::Job& job : downloads::downloadQueue(app()).jobs())
                row = job.file == request.file ? &job : row;
            if (row && row->fragments && !row->pieces.empty())
                showBar(static_cast<double>(row->joined) / static_cast<double>(row->pieces.size()));
            else if (size > 0)
                showBar(static_cast<double>(std::min(received, size)) / static_cast<double>(size));
            m_run.pieceBytes = received;
            if (received > 0)
                showSpeed(received);
            return loaded();
        });
    m_run.status = outcome.status;
    m_run.doneBytes += std::exchange(m_run.pieceBytes, 0);
    return outcome.state == downloads::JobState::Done;
}

void fenge::measureSegments()
{
    // Each start asks for the lengths still unknown (all of them the first time).
    platform::Network& network = app().service<platform::Network>();
    m_overall.sizes.resize(List1.items().size(), -1);
    std::vector<size_t> unknown;
    std::vector<std::string> addresses;
    for (size_t i = 0; i < m_overall.sizes.size(); ++i) {
        if (m_overall.sizes[i] < 0) {
            unknown.push_back(i);
            addresses.push_back(List1.list(static_cast<int>(i)));
        }
    }
    // Sound: the lengths are asked all at once, each within a bounded time, and the window
    // keeps painting and its timers keep running meanwhile; closing it stops the asking.
    const std::vector<long long> lengths = network.contentLengths(addresses, [this] {
        app().doEvents();
        return loaded();
    });
    for (size_t k = 0; k < unknown.size() && k < lengths.size(); ++k)
        m_overall.sizes[unknown[k]] = lengths[k];
    m_overall.startBytes = -1;
    m_overall.current = std::max(static_cast<int>(vb::Val(Text3.text())), 0);
    showOverall(0);
}

void fenge::showOverall(int64_t currentBytes)
{
    const std::vector<int64_t>& sizes = m_overall.sizes;
    if (sizes.empty())
        return;
    int64_t done = currentBytes;
    int64_t total = 0;
    bool totalKnown = true;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] < 0)
            totalKnown = false;
        else
            total += sizes[i];
        if (static_cast<int>(i) < m_overall.current)
            done += std::max<int64_t>(sizes[i], 0);
    }
    const int64_t nowMs = now();
    if (m_overall.startBytes < 0) {
        m_overall.startBytes = done;
        m_overall.startMs = nowMs;
    }
    std::string line = "总进度：" + megabytes(done);
    if (totalKnown)
        line += " / " + megabytes(total);
    const int64_t elapsed = nowMs - m_overall.startMs;
    const int64_t gained = done - m_overall.startBytes;
    if (elapsed > 0 && gained > 0) {
        const double bytesPerMs = static_cast<double>(gained) / static_cast<double>(elapsed);
        line += "，速度 " + vb::Str(static_cast<int64_t>(bytesPerMs * 1000 / 1024)) + "KB/S";
        if (totalKnown)
            line += "，剩余 "
                + duration(static_cast<int64_t>(
                    static_cast<double>(std::max<int64_t>(total - done, 0)) / bytesPerMs / 1000));
    }
    Label10.setCaption(line);
}

void fenge::oDownload_OnProgress(
    int64_t lProgress, int64_t lMaxProgress, int32_t, int32_t, const std::string&)
{
    if (lProgress == 0 || lMaxProgress == 0)
        return;
    showBar(static_cast<double>(std::min(lProgress, lMaxProgress)) / static_cast<double>(lMaxProgress));
    m_run.pieceBytes = lProgress;
    showSpeed(lProgress + m_run.aheadBytes);
    showOverall(lProgress + m_run.aheadBytes);
}

void fenge::showBar(double fraction)
{
    const auto x = static_cast<float>(fraction * kBarMarks);
    // Sound: the percentage is x out of the bar's 274 marks; dividing by 2.74, which has no
    // exact binary form, would show 99% for a finished segment and 49% at half.
    common::showProgressBar(Label4,
        vb::Str(static_cast<int64_t>(vb::Val(vb::Format00(x)) * 100 / kBarMarks)) + "%", x, kBarMarks);
}

void fenge::showSpeed(int64_t bytes)
{
    // Sound: the speed is the bytes of this run over its time so far. The speed of the last
    // report alone reads about 0 for every piece small enough to arrive in one report.
    const int64_t elapsed = std::max<int64_t>(now() - m_run.startMs, 1);
    const auto all = static_cast<double>(m_run.doneBytes + bytes);
    Label5.setCaption(
        "网速：" + vb::Str(static_cast<int64_t>(all / static_cast<double>(elapsed) * 1000 / 1024)) + "KB/S");
}

} // namespace video
