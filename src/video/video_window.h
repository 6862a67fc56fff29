#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "common/file_download.h"
#include "common/skin.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace video {

// The tip the split detection shows; the split downloader takes over when it sees it.
inline constexpr const char* kSplitNotice = "此视频被分割，正在启动分割视频下载模块，请稍等...";
// What Text5 says for a video without a high-definition version.
inline constexpr const char* kNoHighDefinition = "此视频没有高清版本";
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

    std::unique_ptr<common::CFileDownload> oDownload;

    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Text3_Click();
    void Text4_Click();
    void Text5_Click();
    void Text4_Change();
    void Timer3_Timer();
    void Timer5_Timer();
    void Label1_Click();
    void Label2_Click();
    void Label1_MouseMove();
    void Label2_MouseMove();
    void Label5_Click();
    void Label17_Click();
    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);
    void oDownload_OnProgress(int64_t lProgress, int64_t lMaxProgress, int32_t lSpeed, int32_t lStatusCode,
        const std::string& sStatusText);

private:
    common::SkinnedWindow skin();
    void layout();
    // Downloads one address into the desktop download folder under the video's name.
    void downloadVideo(const std::string& address);
    // Copies a result box to the clipboard and says so.
    void copyResult(const runtime::TextBox& box);
    // Shows the "nothing could be resolved" tip and keeps the result fields locked.
    void resolveFailed();
};

} // namespace video
