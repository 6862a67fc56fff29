#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace shell {

// The tile captions: qied holds the chosen one, and the tray menu chooses tiles by them.
inline constexpr const char* kTileMusic = "急速音乐";
inline constexpr const char* kTilePlayer = "在线影音";
inline constexpr const char* kTileVideo = "视频下载";
inline constexpr const char* kTileToolbox = "工具箱";
inline constexpr const char* kTileNowPlaying = "正在播放";

// The update line's texts after the version.
inline constexpr const char* kUpdateIdle = "点击检查更新";
inline constexpr const char* kUpdateChecking = "正在检查更新...";
inline constexpr const char* kUpdateLatest = "已经是最新版本";
inline constexpr const char* kUpdateAvailable = "有新版本,点击更新";
inline constexpr const char* kUpdateOffline = "网络已断开";
// The check could not fetch the version file, or what came was none.
inline constexpr const char* kUpdateFailed = "检查更新失败";

// Tile looks: the selected tile is bold and black, the others grey.
inline constexpr int64_t kTileGrey = 0x808080;
inline constexpr int64_t kTileBlack = 0;

// The hub: the start-up window with the logo, the title buttons, the tiles that choose the
// feature window shown below it, and the update line.
class moban : public runtime::Form {
public:
    explicit moban(runtime::App& app);
    void load() override;

    runtime::Image Image2 { *this, "Image2" };
    runtime::Label Label2 { *this, "Label2" };
    runtime::Label Label5 { *this, "Label5" };
    runtime::Label Label4 { *this, "Label4" };
    runtime::Label Label3 { *this, "Label3" };
    runtime::Label Label6 { *this, "Label6" };
    runtime::Label Label7 { *this, "Label7" };
    runtime::Label Label8 { *this, "Label8" };
    runtime::Label Label9 { *this, "Label9" };
    runtime::Label Label10 { *this, "Label10" };
    runtime::Label Label1 { *this, "Label1" };
    runtime::TextBox qied { *this, "qied" };
    runtime::TextBox sjsj { *this, "sjsj" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    runtime::Image Image3 { *this, "Image3" };
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::Timer xin { *this, "xin" };

    // Selects a feature tile by its caption, as a left-button press on it does.
    void selectTile(const std::string& caption);
    // The tray menu's shortcut to a tile: the same, but the "正在播放" tile keeps its look.
    void selectTileFromTray(const std::string& caption);

    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);
    void Label6_MouseDown(const runtime::MouseEvent& e);
    void Label7_MouseDown(const runtime::MouseEvent& e);
    void Label8_MouseDown(const runtime::MouseEvent& e);
    void Label9_MouseDown(const runtime::MouseEvent& e);
    void Label10_MouseDown(const runtime::MouseEvent& e);
    void Label10_MouseMove(const runtime::MouseEvent& e);
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
    void Label3_MouseMove(const runtime::MouseEvent& e);
    void Label4_MouseMove(const runtime::MouseEvent& e);
    void Label5_MouseMove(const runtime::MouseEvent& e);
    void Timer1_Timer();
    void Label1_Click();
    void xin_Timer();

private:
    void designLayout();
    void applyStartupSkin();
    void showChild(runtime::Form& child, int childHeight);
    // Sizes the hub to reach just below a child of this height and keeps the update line at
    // the hub's bottom.
    void fitToChild(int childHeight);
    void setTileLooks(runtime::Label* selected);
    void hoverTitleButton(runtime::Label& hovered);
    void glueChildren();
    // The update line: "当前版本:" + the version + two blanks + suffix.
    void setUpdateLine(const char* suffix);
    // Hands over to the update program or the download page; the program then ends.
    void startUpdate();
};

} // namespace shell
