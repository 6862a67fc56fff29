// The video download window's resolving through yt-dlp, where the parsing service gives up:
// today's sites, the formats it finds with their drop-down, and their downloads.
#include "common/tool_run.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "shell/hub_window.h"
#include "video/download_folder.h"
#include "video/page_qualities.h"
#include "video/resolve_page.h"
#include "video/split_window.h"
#include "video/video_window.h"
#include "video/web_cookies.h"
#include "video/web_list.h"
#include "video/web_list_window.h"
#include "video/web_play_window.h"

namespace video {

namespace {
constexpr const char* kAskingYtdlp = "正在用 yt-dlp 解析此网站的视频，请稍等...";
constexpr const char* kYtdlpSilent = "yt-dlp 在 60 秒内没有给出结果";
constexpr const char* kUntitled = "未命名视频";
constexpr const char* kEntryFailed = "没能解析这个视频";
constexpr const char* kChosenFormat = "所选格式:";
constexpr const char* kNoFormatChosen = "请先在下面的格式列表中选择要下载的格式";
// Milliseconds the page is still waited for once yt-dlp has answered.
constexpr int kPageGraceMs = 2000;
} // namespace

void Form2::resolveOnTheWeb(const std::string& failure)
{
    runtime::App& a = app();
    const std::string address = Text3.text();
    lockResults();
    showLoginLine("");
    Label4.setCaption(kAskingYtdlp);
    m_resolving = true;
    // The page itself comes meanwhile: its quality menu may list more than yt-dlp finds.
    PageFetch page(a, address);
    const common::ToolRun run = askYtdlp(a, address, [this, &page] {
        page.poll();
        return loaded();
    });
    m_resolving = false;
    // Closed while yt-dlp worked: nothing to show.
    if (!loaded())
        return;
    // A page of several videos shows its entries to choose from first.
    if (run.ok()) {
        if (std::optional<std::vector<WebEntry>> entries = readWebList(run.out);
            entries && !entries->empty()) {
            showWebList(std::move(*entries));
            return;
        }
    }
    std::optional<WebVideo> video;
    if (run.ok())
        video = readWebVideo(run.out);
    if (!video) {
        std::string text = failure;
        const std::string reason = run.timedOut ? std::string(kYtdlpSilent) : common::lastErrorLine(run.err);
        if (run.started && !reason.empty())
            text += "\r\n" + reason;
        Label4.setCaption(text);
        showLoginLine(loginQuality(reason));
        return;
    }
    showWebVideo(std::move(*video));
    showLoginLine(qualityAboveBest(page.bytes(kPageGraceMs), bestHeight(*m_web)));
}

void Form2::showLoginLine(const std::string& quality)
{
    // Sound: beside a list of formats the line would lie under the drop-down; it takes the
    // status label's second row instead, which the short texts shown there leave free.
    const double row = Combo1.visible() ? Label4.top() + Label4.height() / 2 : Combo1.top();
    Label18.setTop(row);
    Label19.setTop(row);
    Label18.setCaption(quality.empty() ? std::string() : quality + " 需要登录");
    Label18.setVisible(!quality.empty());
    Label19.setVisible(!quality.empty());
}

// The first click opens the site in the browser to log in; the next one, with the browser
// still open, closes it and resolves again with its cookies.
void Form2::Label19_Click()
{
    runtime::App& a = app();
    if (play* browser = a.find<play>(); browser && browser->visible()) {
        browser->hide();
        Command9_Click();
        return;
    }
    a.get<play>().playPage(Text3.text());
}

void Form2::showWebList(std::vector<WebEntry> entries)
{
    Label4.setCaption("此页面有 " + std::to_string(entries.size()) + " 个视频，请在视频列表中选择");
    heji& list = app().get<heji>();
    list.showEntries(std::move(entries));
    // Over the hub the video window lives in, or over the window itself when it stands alone.
    const shell::moban* hub = app().find<shell::moban>();
    const runtime::Form& over = hub ? static_cast<const runtime::Form&>(*hub) : *this;
    list.move(
        over.left() + (over.width() - list.width()) / 2, over.top() + (over.height() - list.height()) / 2);
    list.show();
}

void Form2::chooseEntry(const WebEntry& entry)
{
    Text3.setText(entry.url);
    resolveOnTheWeb(kEntryFailed);
}

void Form2::showWebVideo(WebVideo video)
{
    m_web = std::move(video);
    m_normal = normalChoice(*m_web);
    m_best = bestChoice(*m_web);
    showVideoName(m_web->title.empty() ? std::string(kUntitled) : m_web->title);
    Text4.setText(choiceText(*m_web, m_normal));
    Text5.setText(choiceText(*m_web, m_best));
    for (runtime::Control* field :
        { static_cast<runtime::Control*>(&Text4), static_cast<runtime::Control*>(&Command10),
            static_cast<runtime::Control*>(&Text5), static_cast<runtime::Control*>(&Command11) })
        field->setEnabled(true);
    std::vector<std::string> labels;
    labels.reserve(m_web->formats.size());
    for (int i = 0; i < static_cast<int>(m_web->formats.size()); ++i)
        labels.push_back(choiceLabel(*m_web, i));
    Combo1.setItems(std::move(labels));
    Combo1.setListIndex(m_best.format);
    Combo1.setVisible(true);
    // Sound: the drop-down chooses what the second button downloads; its caption says so.
    Label8.setCaption(kChosenFormat);
    showPreview();
}

void Form2::Combo1_Click()
{
    // The choice shows at once in the box beside the button it drives.
    if (!m_web || Combo1.listIndex() < 0 || Combo1.listIndex() == m_best.format)
        return;
    m_best = choiceOf(*m_web, Combo1.listIndex());
    Text5.setText(choiceText(*m_web, m_best));
}

void Form2::downloadChoice(WebChoice choice)
{
    runtime::App& a = app();
    if (!m_web)
        return;
    // Sound: a choice that cannot be downloaded says why instead of doing nothing.
    if (!choice.valid()) {
        Label4.setCaption(kNoFormatChosen);
        return;
    }
    const std::string name = safeFileName(Label7.caption());
    if (needsJoining(*m_web, choice)) {
        // The split downloader fetches the pieces and joins them; a run of an earlier video
        // ends first.
        pendingJoin = joinOf(*m_web, choice, name);
        a.unload<fenge>();
        fenge& splitter = a.get<fenge>();
        splitter.Label3.setCaption(Label7.caption());
        splitter.show();
        return;
    }
    const WebFormat& format = m_web->formats[static_cast<size_t>(choice.format)];
    downloadVideo(format.url, format.ext, webHeaders(a, format, format.url));
}

} // namespace video
