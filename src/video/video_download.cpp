// The download job of the video download window: the two downloads with their bar, and the
// split detection that hands a split video to the split downloader.
#include <algorithm>

#include "downloads/awaited_download.h"
#include "downloads/list_window.h"
#include "platform/network.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/clipboard_offer.h"
#include "video/download_folder.h"
#include "video/resolve_page.h"
#include "video/split_window.h"
#include "video/video_window.h"

namespace video {

namespace {
constexpr const char* kDownloaded = "下载完成！";
constexpr const char* kDownloadFailed = "失败，您刚刚断网了";
constexpr int kBarMarks = 120;
} // namespace

void Form2::Command10_Click()
{
    if (m_web)
        downloadChoice(m_normal);
    else
        downloadVideo(Text4.text());
}

void Form2::Command11_Click()
{
    if (!m_web) {
        downloadVideo(Text5.text());
        return;
    }
    // The drop-down's choice, shown in the box before it is fetched.
    Combo1_Click();
    downloadChoice(m_best);
}

void Form2::downloadVideo(
    const std::string& address, const std::string& ext, std::vector<std::string> headers)
{
    runtime::App& a = app();
    if (!ensureDownloadFolder(a)) {
        Label3.setCaption(kDownloadFailed);
        return;
    }
    // Sound: the shown name becomes a safe single file name, and one that no file of the
    // folder has: a video of the same name (or an earlier download) is never replaced.
    const std::string ending = "." + safeFileName(ext);
    const std::string target
        = downloadFolder(a) + "/" + unusedName(a, safeFileName(Label7.caption()), { ending }) + ending;
    // The job goes on the download list; this window waits for it and keeps showing its
    // progress and end in its own labels.
    const downloads::AwaitedDownload outcome = downloads::downloadAndWait(a,
        { .title = Label7.caption(),
            .url = address,
            .file = target,
            .headers = std::move(headers),
            .oneTry = true },
        [this](long long received, long long size, int64_t) {
            oDownload_OnProgress(received, size, 0, 0, "");
            return loaded();
        });
    if (outcome.state == downloads::JobState::Running || outcome.state == downloads::JobState::Waiting)
        return;
    // Sound: a download the person paused or cancelled in the list says so, not that the
    // connection was lost.
    if (outcome.state == downloads::JobState::Paused || outcome.reason == downloads::kCancelledReason) {
        Label3.setCaption(std::string(outcome.state == downloads::JobState::Paused ? "已暂停" : "已取消")
            + "（见下载列表）");
        return;
    }
    // Sound: a server's error answer is named; the lost connection's text is kept for a
    // connection that failed.
    const std::string refusal = common::serverRefusal(outcome.status);
    const bool done = outcome.state == downloads::JobState::Done;
    Label3.setCaption(done ? kDownloaded : refusal.empty() ? kDownloadFailed : "下载失败：" + refusal);
}

void Form2::Command12_Click()
{
    downloads::showDownloadList(app());
}

void Form2::Check1_Click()
{
    setClipboardOffer(app(), Check1.value() == 1);
}

void Form2::oDownload_OnProgress(
    int64_t lProgress, int64_t lMaxProgress, int32_t, int32_t, const std::string&)
{
    if (lProgress == 0 || lMaxProgress == 0)
        return;
    // A server that sends more than it announced fills the bar once.
    const auto x = static_cast<float>(static_cast<double>(std::min(lProgress, lMaxProgress))
        / static_cast<double>(lMaxProgress) * kBarMarks);
    common::showProgressBar(Label4, "", x, kBarMarks);
    Label3.setCaption(vb::Str(static_cast<int64_t>(vb::Val(vb::Format00(x)) / 1.2)) + "%");
}

void Form2::Timer3_Timer()
{
    // yt-dlp's results are never a designed split video (their marks are Chinese text).
    if (!m_web && splitVideoSign(Text4.text())) {
        Label4.setCaption(kSplitNotice);
        Timer3.setEnabled(false);
    }
    if (Label4.caption() == kSplitNotice) {
        fenge& splitter = app().get<fenge>();
        splitter.Label3.setCaption(Label7.caption());
        splitter.show();
    }
    if (!Label4.caption().empty()) {
        for (runtime::Control* field :
            { static_cast<runtime::Control*>(&Command10), static_cast<runtime::Control*>(&Command11),
                static_cast<runtime::Control*>(&Text4), static_cast<runtime::Control*>(&Text5) })
            field->setEnabled(false);
        Timer3.setEnabled(false);
    }
}

} // namespace video
