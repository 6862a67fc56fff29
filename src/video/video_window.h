#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/file_download.h"
#include "common/skin.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"
#include "video/web_formats.h"
#include "video/web_list.h"

namespace video {

// The tip the split detection shows; the split downloader takes over when it sees it.
inline constexpr const char* kSplitNotice = "此视频被分割，正在启动分割视频下载模块，请稍等...";
// What Text5 says for a video without a high-definition version.
inline constexpr const char* kNoHighDefinition = "此视频没有高清版本";
// The caption beside the high-definition address.
inline constexpr const char* kHighDefinitionCaption = "高清版解析:";
// The prompt in the address box when the window loads.
inline constexpr const char* kAddressPrompt = "请输入播放视频页面的地址";

// The video download window: resolves a video page address into direct media addresses
// through the parsing service, previews and downloads them, and hands split videos over.
class Form2 : public runtime::Form {
public:
    explicit Form2(runtime::App& app);
    void load() override;

    // Title strip: minimise and close.
    runtime::Label Label1 { *this, "Label1" };
    runtime::Label Label2 { *this, "Label2" };
    // The page address and the resolve button.
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::CommandButton Command9 { *this, "Command9" };
    // Normal and high-definition addresses with their download buttons.
    runtime::Label Label6 { *this, "Label6" };
    runtime::TextBox Text4 { *this, "Text4" };
    runtime::CommandButton Command10 { *this, "Command10" };
    runtime::Label Label8 { *this, "Label8" };
    runtime::TextBox Text5 { *this, "Text5" };
    runtime::CommandButton Command11 { *this, "Command11" };
    // Every format yt-dlp found, to choose what the second download button fetches; hidden
    // for the parsing service's results.
    runtime::ComboBox Combo1 { *this, "Combo1" };
    // Tips, the split notice and the download bar.
    runtime::Label Label4 { *this, "Label4" };
    // Video name, result or percentage, save place, each beside its caption.
    runtime::Label Label9 { *this, "Label9" };
    runtime::Label Label7 { *this, "Label7" };
    runtime::Label Label10 { *this, "Label10" };
    runtime::Label Label3 { *this, "Label3" };
    runtime::Label Label12 { *this, "Label12" };
    runtime::Label Label11 { *this, "Label11" };
    // Usage notes, the web play link and the supported-site link.
    runtime::Label Label15 { *this, "Label15" };
    runtime::Label Label17 { *this, "Label17" };
    runtime::Label Label5 { *this, "Label5" };
    // Opens the download list every download goes on.
    runtime::CommandButton Command12 { *this, "Command12" };
    // The quality a login unlocks, and the link that retries with the browser's login.
    runtime::Label Label18 { *this, "Label18" };
    runtime::Label Label19 { *this, "Label19" };
    // Offers a copied video address for download (off until the person turns it on).
    runtime::CheckBox Check1 { *this, "Check1" };
    // The preview placeholder and the preview browser with its page.
    runtime::Label yulan { *this, "yulan" };
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    runtime::TextBox Text6 { *this, "Text6" };
    runtime::Label youj1 { *this, "youj1" };
    runtime::Label youj2 { *this, "youj2" };
    runtime::Label youj3 { *this, "youj3" };
    // Split detection and the skin refresh.
    runtime::Timer Timer3 { *this, "Timer3" };
    runtime::Timer Timer5 { *this, "Timer5" };
    runtime::TextBox bgc { *this, "bgc" };
    runtime::TextBox bgt { *this, "bgt" };

    // A format in pieces handed to the split downloader, which takes it when it loads.
    std::optional<WebJoin> pendingJoin;

    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Text3_Click();
    void Text4_Click();
    void Text5_Click();
    void Text4_Change();
    void Combo1_Click();
    void Timer3_Timer();
    void Timer5_Timer();
    void Label1_Click();
    void Label2_Click();
    void Label1_MouseMove();
    void Label2_MouseMove();
    void Label5_Click();
    void Label17_Click();
    void Command12_Click();
    void Check1_Click();
    void Label19_Click();
    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);
    // Resolves one entry of a page of several videos, as if its address had been typed.
    void chooseEntry(const WebEntry& entry);
    void oDownload_OnProgress(int64_t lProgress, int64_t lMaxProgress, int32_t lSpeed, int32_t lStatusCode,
        const std::string& sStatusText);

private:
    common::SkinnedWindow skin();
    void layout();
    // Downloads one address into the desktop download folder under the video's name, with
    // this extension and these request headers.
    void downloadVideo(
        const std::string& address, const std::string& ext = "flv", std::vector<std::string> headers = {});
    // Asks yt-dlp where the designed resolving gives up with failure; shows failure (and
    // yt-dlp's own reason) when that fails too.
    void resolveOnTheWeb(const std::string& failure);
    void showWebVideo(WebVideo video);
    // Shows "QUALITY 需要登录" and "登录后重试" for the quality a login unlocks (yt-dlp's
    // reason names it, or the page lists it above what yt-dlp found); hides them for none.
    void showLoginLine(const std::string& quality);
    // Shows the entries of a page of several videos in the video list.
    void showWebList(std::vector<WebEntry> entries);
    // Downloads a format yt-dlp found: one file here, pieces or two streams in the split
    // downloader.
    void downloadChoice(WebChoice choice);
    // Shows the name of a newly resolved video; the result line of an earlier download goes.
    void showVideoName(const std::string& name);
    // Locks the result fields after a failed resolve.
    void lockResults();
    // Copies a result box to the clipboard and says so.
    void copyResult(const runtime::TextBox& box);
    // Writes the preview page of the two addresses when the normal one is a web address.
    void showPreview();

    // What yt-dlp found for the address shown, with the two choices; empty for the parsing
    // service's results.
    std::optional<WebVideo> m_web;
    WebChoice m_normal;
    WebChoice m_best;
    bool m_resolving = false;
};

} // namespace video
