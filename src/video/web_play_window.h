#pragma once
#include <cstdint>
#include <string>

#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace video {

// The title of the web play window while it plays.
inline constexpr const char* kWebPlayTitle = "视频正在播放中...";
// The path of the QVOD resource site's player pages; the stream address follows it.
inline constexpr const char* kQvodPlayerPath = "/player.asp?url=";

// The web play window: plays a video site's play page, a QVOD resource or a Baidu-player
// resource in its own browser, and hands a play page to the video download window.
class play : public runtime::Form {
public:
    explicit play(runtime::App& app);
    void load() override;

    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    // "下载此视频": hands the page address to the video download window.
    runtime::CommandButton Command1 { *this, "Command1" };
    // The play page's address.
    runtime::TextBox Text1 { *this, "Text1" };
    // The link and image addresses of the QVOD resource page, and the stream addresses found.
    runtime::ListBox guodu { *this, "guodu" };
    runtime::ListBox List1 { *this, "List1" };
    // Finds the stream address on the QVOD resource page in the tray window's browser.
    runtime::Timer kuai { *this, "kuai" };
    // The two halves of the QVOD and the Baidu player pages; the address goes between them.
    runtime::Label qovd1 { *this, "qovd1" };
    runtime::Label qovd2 { *this, "qovd2" };
    runtime::Label bdyy1 { *this, "bdyy1" };
    runtime::Label bdyy2 { *this, "bdyy2" };

    // The three uses, as their starters hand over: a video site's play page; a QVOD resource's
    // detail page; a Baidu-player stream address. Each shows the window.
    void playPage(const std::string& address);
    void playQvodResource(const std::string& detailPage);
    void playBaiduResource(const std::string& address);
    // The player page of a template pair around an address.
    [[nodiscard]] std::string playerPage(
        const runtime::Label& first, const runtime::Label& second, const std::string& address) const;

    void Form_Resize();
    void WebBrowser1_DocumentComplete(const std::string& url);
    void WebBrowser1_NewWindow2(const std::string& url, bool& cancel);
    void Command1_Click();
    void kuai_Timer();

private:
    // Centres a window over another (whole-window twips).
    static void centreOver(runtime::Form& window, const runtime::Form& over);
    // Shows the window over the hub and lights the hub's "正在播放" tile.
    void showPlaying();

    // When kuai began waiting for the resource page (the app's clock).
    int64_t m_waitStarted = 0;
};

} // namespace video
