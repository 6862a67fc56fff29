#include "video/web_list_window.h"

#include "downloads/list_window.h"
#include "runtime/app.h"
#include "video/download_folder.h"
#include "video/video_window.h"
#include "video/web_cookies.h"
#include "video/web_formats.h"

namespace video {

namespace {

constexpr int kWidth = 520;

// A choice that needs no join: the best one when it is a single stream, else the best format
// with picture and sound together.
WebChoice singleStream(const WebVideo& video)
{
    const WebChoice best = bestChoice(video);
    if (best.valid() && best.audio < 0)
        return best;
    for (int i = static_cast<int>(video.formats.size()) - 1; i >= 0; --i) {
        const WebFormat& f = video.formats[static_cast<size_t>(i)];
        if (f.video && f.audio)
            return choiceOf(video, i);
    }
    return {};
}

} // namespace

heji::heji(runtime::App& app)
    : runtime::Form(app, "heji")
{
    setScaleMode(runtime::ScaleMode::Pixels);
    setCaption("视频列表");
    setWidth((kWidth + 20) * runtime::kTwipsPerPixel);
    setHeight(470 * runtime::kTwipsPerPixel);
    Label1.move(10, 8, kWidth, 40);
    List1.move(10, 52, kWidth, 320);
    const char* captions[] = { "全选", "全不选", "勾选/取消", "解析所选", "全部下载" };
    runtime::CommandButton* buttons[] = { &Command1, &Command2, &Command3, &Command4, &Command5 };
    for (int i = 0; i < 5; ++i) {
        buttons[i]->setCaption(captions[i]);
        buttons[i]->move(10 + i * 104, 382, 96, 28);
    }
    List1.onDblClick = [this] { List1_DblClick(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
}

void heji::showEntries(std::vector<WebEntry> entries)
{
    m_entries = std::move(entries);
    m_checked.assign(m_entries.size(), true);
    Label1.setCaption(
        "此页面有 " + std::to_string(m_entries.size()) + " 个视频：勾选要下载的，双击一个可查看它的格式");
    redraw();
}

void heji::redraw()
{
    std::vector<std::string> rows;
    rows.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i)
        rows.push_back((m_checked[i] ? kEntryChecked : kEntryUnchecked)
            + numberedName(i, m_entries.size(), m_entries[i].title));
    const int index = List1.listIndex();
    List1.setItems(std::move(rows));
    if (index < List1.listCount())
        List1.setListIndex(index);
}

void heji::checkAll(bool checked)
{
    m_checked.assign(m_entries.size(), checked);
    redraw();
}

void heji::Command1_Click()
{
    checkAll(true);
}

void heji::Command2_Click()
{
    checkAll(false);
}

void heji::Command3_Click()
{
    const int index = List1.listIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_checked.size())
        return;
    m_checked[static_cast<size_t>(index)] = !m_checked[static_cast<size_t>(index)];
    redraw();
}

// The chosen entry's formats are asked for only now, in the video window.
void heji::Command4_Click()
{
    const int index = List1.listIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size()) {
        Label1.setCaption("请先选中一个视频");
        return;
    }
    Form2& resolver = app().get<Form2>();
    resolver.show();
    resolver.chooseEntry(m_entries[static_cast<size_t>(index)]);
}

void heji::List1_DblClick()
{
    Command4_Click();
}

void heji::Command5_Click()
{
    std::vector<size_t> chosen;
    for (size_t i = 0; i < m_checked.size(); ++i) {
        if (m_checked[i])
            chosen.push_back(i);
    }
    if (chosen.empty()) {
        Label1.setCaption("请先勾选要下载的视频");
        return;
    }
    if (!ensureDownloadFolder(app())) {
        Label1.setCaption("无法创建桌面上的下载文件夹");
        return;
    }
    size_t queued = 0;
    size_t failed = 0;
    // A copy: another page resolved while yt-dlp works replaces the shown entries.
    const std::vector<WebEntry> entries = m_entries;
    Command5.setEnabled(false);
    for (size_t k = 0; k < chosen.size(); ++k) {
        Label1.setCaption("正在解析第 " + std::to_string(k + 1) + "/" + std::to_string(chosen.size())
            + " 个视频：" + entries[chosen[k]].title);
        const bool ok = queueEntry(entries, chosen[k]);
        // Closed meanwhile: what was queued goes on, the rest is not asked for.
        if (!loaded())
            return;
        (ok ? queued : failed) += 1;
    }
    Command5.setEnabled(true);
    std::string said = "已把 " + std::to_string(queued) + " 个视频加入下载列表";
    if (failed > 0)
        said += "，" + std::to_string(failed) + " 个没能解析出可下载的格式";
    Label1.setCaption(said);
    if (queued > 0)
        downloads::showDownloadList(app());
}

bool heji::queueEntry(const std::vector<WebEntry>& entries, size_t index)
{
    runtime::App& a = app();
    const WebEntry& entry = entries[index];
    const common::ToolRun run = askYtdlp(a, entry.url, [this] { return loaded(); });
    const std::optional<WebVideo> video = run.ok() ? readWebVideo(run.out) : std::nullopt;
    const WebChoice choice = video ? singleStream(*video) : WebChoice {};
    if (!choice.valid())
        return false;
    const WebFormat& format = video->formats[static_cast<size_t>(choice.format)];
    const std::string name = safeFileName(numberedName(index, entries.size(), entry.title));
    // HLS pieces joined in order are a transport stream.
    const std::string ext = format.hls() ? "ts" : safeFileName(format.ext.empty() ? "mp4" : format.ext);
    downloads::JobRequest request { .title = name,
        .url = format.url,
        .file = downloadFolder(a) + "/" + unusedName(a, name, { "." + ext }) + "." + ext,
        .headers = webHeaders(a, format, format.url) };
    if (!format.hls())
        request.pieces = format.fragments;
    downloads::enqueue(a, request);
    return true;
}

} // namespace video
