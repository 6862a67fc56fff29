// Playback: choosing an entry, the play dispatcher that sends an address to the media
// player or to a generated page in the browser, the page finisher, and the one-time fetch
// of the flash video player.
#include <algorithm>

#include "common/data_folders.h"
#include "common/file_download.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/network.h"
#include "platform/textfile.h"
#include "player/media_kinds.h"
#include "player/page_templates.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace player {

namespace {
constexpr int kBarMarks = 37;
constexpr const char* kFlashFile = "zelv.swf";

void tell(runtime::App& app, const std::string& text, int icon = platform::NoIcon)
{
    platform::MessageBoxRequest box;
    box.text = text;
    box.icon = icon;
    app.service<platform::Dialogs>().messageBox(box);
}
} // namespace

void Form5::playSelected(runtime::ListBox& names, runtime::ListBox& paths, const std::string& source)
{
    const int index = names.listIndex();
    Text6.setText(vb::Str(index));
    Text3.setText(source);
    hideDecoderHint();
    if (index < 0)
        return;
    showOverlay(4, "正在读取影音信息...");
    Text4.setText(paths.list(index));
    for (runtime::ListBox* results : { &List4, &List6, &List7 })
        results->setVisible(false);
    if (media::isSeed(Text4.text()))
        zzl.start(1);
    else
        Timer2.start(1);
}

void Form5::playInMediaPlayer()
{
    Timer3.setEnabled(false);
    WebBrowser3.setVisible(false);
    Label4.setVisible(false);
    Text5.setVisible(false);
    WindowsMediaPlayer1.move(201, 25, kInsideRight - 201, 553);
    WindowsMediaPlayer1.setVisible(true);
    // The control starts playing a new address by itself.
    WindowsMediaPlayer1.setUrl(Text4.text());
}

void Form5::writePage(const std::string& page)
{
    common::EnsureTempFolder(app());
    WebBrowser3.setLeft(200);
    WebBrowser3.setWidth(kInsideRight - 200);
    WebBrowser3.reload({});
    WebBrowser3.write(page);
    WebBrowser3.setSilent(true);
    Timer3.start(1);
    WebBrowser3.setVisible(true);
    Timer6.setEnabled(false);
}

void Form5::selectPlaying(const std::string& address)
{
    // Sound: the entry that plays is the chosen one (also after a drop, next or previous), so
    // the list shows what plays and the play modes go on from it, not from an entry chosen
    // before.
    // Sound: a starter that played an entry by its index (a double click, next, previous) left
    // that index in Text6; it is followed as it is, so a list that holds one path twice steps
    // on past the second one. Only a drop or a typed path, which name no entry, look the path
    // up.
    int index = -1;
    const auto played = vb::tryLong(Text6.text());
    if (played && *played >= 0 && *played < List2.listCount()
        && List2.list(static_cast<int>(*played)) == address)
        index = static_cast<int>(*played);
    else if (const int current = List1.listIndex(); current >= 0 && List2.list(current) == address)
        index = current;
    else if (const auto found = std::find(List2.items().begin(), List2.items().end(), address);
             found != List2.items().end())
        index = static_cast<int>(found - List2.items().begin());
    if (index < 0 || index == List1.listIndex())
        return;
    // Choosing an entry writes its name into Text4, which holds the address being played.
    List1.setListIndex(index);
    Text4.setText(address);
    Text6.setText(vb::Str(index));
}

void Form5::Timer2_Timer()
{
    Timer2.setEnabled(false);
    const std::string address = Text4.text();
    selectPlaying(address);
    const std::string upper = vb::UCase(address);
    if (media::isSeed(address)) {
        closeMediaPlayer();
        zz.start(1);
        return;
    }
    if (media::isPictureOrText(address)) {
        WebBrowser3.setLeft(200);
        WebBrowser3.setWidth(kInsideRight - 200);
        WebBrowser3.setVisible(true);
        WebBrowser3.setSilent(true);
        WebBrowser3.navigate(address);
        Text5.setVisible(false);
        return;
    }
    // The page tests only prepare the page; a later test may still send the address to the
    // media player.
    std::string page;
    if (media::startsWithAny(upper, { "QVOD://" }) || media::endsWithAny(upper, { ".VOB" })) {
        closeMediaPlayer();
        page = pages::withUrlParameter(qvod.text(), address);
    }
    if (media::startsWithAny(upper, { "BDHD://", "FTP://" })) {
        closeMediaPlayer();
        page = pages::withUrlParameter(bdhd.text(), address);
    }
    if (media::endsWithAny(upper, { ".RMVB", ".MKV" })) {
        closeMediaPlayer();
        playInMediaPlayer();
        return;
    }
    // Designed: an ".FLV" plays through the Flash page below. A browser without Flash would
    // show that page empty, so there it plays in the media player like the other videos.
    const bool flashVideo = media::endsWithAny(upper, { ".FLV" });
    if (media::endsWithAny(upper, { ".MOV", ".3GP", ".AVI", ".SWF", ".MP4", ".WMV", ".MPG" })
        || media::isMusic(address) || (flashVideo && !WebBrowser3.supportsFlash())) {
        playInMediaPlayer();
        return;
    }
    if (flashVideo) {
        closeMediaPlayer();
        if (!ensureFlashPlayer())
            return;
        std::string temp = common::dataPaths(app()).temp;
        temp.pop_back();
        page = pages::flashPage(zelv.text(), temp, address);
    }
    writePage(page);
}

bool Form5::ensureFlashPlayer()
{
    common::EnsureTempFolder(app());
    const std::string target = common::dataPaths(app()).temp + kFlashFile;
    if (platform::fileExists(target))
        return true;

    Label8.setVisible(true);
    Label9.setVisible(true);
    Label4.setTop(kStatusTop);
    Label4.setFontSize(15);
    Label4.setForeColor(0xFFFFFF);
    Label4.setAlignment(runtime::AlignLeft);
    Label4.setVisible(true);
    Text5.setVisible(false);

    runtime::App& a = app();
    // Sound: the program's own fetch is bounded in time and size, so a trickling or
    // oversized answer can neither stall it nor become the player file.
    const bool fetched = common::downloadInto(oDownload, a,
        a.service<platform::Config>().get("update_server") + "/" + kFlashFile, target,
        std::bind_front(&Form5::oDownload_OnProgress, this), common::kOwnDownloadSeconds,
        common::kOwnDownloadBytes);
    tell(a, fetched ? "初始化成功!" : "初始化失败，请检查是否连接网络", platform::Information);
    for (runtime::Label* label : { &Label8, &Label9, &Label4 })
        label->setVisible(false);
    return fetched;
}

void Form5::oDownload_OnProgress(
    int64_t lProgress, int64_t lMaxProgress, int32_t, int32_t, const std::string&)
{
    if (lProgress <= 0 || lMaxProgress <= 0)
        return;
    // A server that sends more than it announced still fills the bar only once.
    const double part
        = static_cast<double>(std::min(lProgress, lMaxProgress)) / static_cast<double>(lMaxProgress);
    Label4.setCaption(common::progressMarks(kBarMarks * part, kBarMarks));
    Label9.setCaption("(" + vb::Format00(100 * part) + "%)");
}

void Form5::Timer3_Timer()
{
    if (WebBrowser3.busy())
        return;
    WebBrowser3.setBodyScroll("no");
    // The wide layout keeps the page where the list panel was.
    if (Picture5.visible()) {
        WebBrowser3.move(1, 25, 767, 553);
        Label4.setLeft(88);
    }
    Text5.setVisible(false);
    Timer3.setEnabled(false);
}

void Form5::WebBrowser3_NewWindow2(const std::string& url, bool& cancel)
{
    // Pages open their links in this browser instead of a new window.
    cancel = true;
    const std::string href = WebBrowser3.activeElementHref();
    // Sound: a request that no link made (the player pages' install prompts) opens the
    // address it asked for.
    const std::string& address = href.empty() ? url : href;
    if (!address.empty())
        WebBrowser3.navigate(address);
}

} // namespace player
