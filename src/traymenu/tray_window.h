#pragma once
#include "platform/tray.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace zelvora {

// The hidden tray window: the notification icon and its menu, the playlist menus, the
// shared skin cache and the hidden fields other windows use as shared variables.
class Form6 : public rt::Form {
public:
    explicit Form6(rt::App& app);
    void load() override;

    // Skin settings cache.
    rt::ListBox List1 { *this, "List1" };
    rt::TextBox ini1 { *this, "ini1" };
    rt::TextBox ini2 { *this, "ini2" };
    rt::TextBox ini3 { *this, "ini3" };
    rt::TextBox Text3 { *this, "Text3" };
    rt::TextBox Text4 { *this, "Text4" };
    // The built-in default background picture.
    rt::Image Image1 { *this, "Image1" };
    // Version text and build number.
    rt::TextBox xin { *this, "xin" };
    rt::TextBox xin1 { *this, "xin1" };
    // The hub's position as text.
    rt::TextBox Text1 { *this, "Text1" };
    rt::TextBox Text2 { *this, "Text2" };
    // Marker of the add-file command ("存在" / "不存在").
    rt::TextBox Text5 { *this, "Text5" };
    // Set to "取消" when the add-file dialog was cancelled; kept apart from the hub position.
    rt::TextBox Text6 { *this, "Text6" };
    // Receives the notification icon's events; its picture is the icon.
    rt::PictureBox pic { *this, "pic" };
    rt::WebBrowser WebBrowser3 { *this, "WebBrowser3" };

    // Tray menu.
    rt::Menu kuai { *this, "kuai", "菜单选项" };
    rt::Menu opentool { *this, "opentool", "打开工具箱", &kuai };
    rt::Menu downvideo { *this, "downvideo", "下载视频", &kuai };
    rt::Menu onlinemusic { *this, "onlinemusic", "在线音乐", &kuai };
    rt::Menu onlinevideo { *this, "onlinevideo", "在线影视", &kuai };
    rt::Menu exitmaun { *this, "exitmaun", "退出播放器", &kuai };

    // Playlist menu.
    rt::Menu liemenu { *this, "liemenu", "播放列表" };
    rt::Menu play { *this, "play", "播放", &liemenu };
    rt::Menu Line1 { *this, "Line1", "-", &liemenu };
    rt::Menu mp3 { *this, "mp3", "添加歌曲", &liemenu };
    rt::Menu addmp3 { *this, "addmp3", "添加本地歌曲", &mp3 };
    rt::Menu addpath { *this, "addpath", "添加本地文件夹", &mp3 };
    rt::Menu liep { *this, "liep", "歌曲排序", &liemenu };
    rt::Menu pname { *this, "pname", "按文件名", &liep };
    rt::Menu ptime { *this, "ptime", "按时间", &liep };
    rt::Menu lieb { *this, "lieb", "播放模式", &liemenu };
    rt::Menu bodan { *this, "bodan", "单曲播放", &lieb };
    rt::Menu boxun { *this, "boxun", "单曲循环", &lieb };
    rt::Menu boshun { *this, "boshun", "顺序播放", &lieb };
    rt::Menu bolie { *this, "bolie", "列表循环", &lieb };
    rt::Menu bosui { *this, "bosui", "随机播放", &lieb };
    rt::Menu Line2 { *this, "Line2", "-", &liemenu };
    rt::Menu liefu { *this, "liefu", "复制歌曲到", &liemenu };
    rt::Menu copyy { *this, "copyy", "复制到可移动磁盘", &liefu };
    rt::Menu lieda { *this, "lieda", "打开文件目录", &liemenu };
    rt::Menu liexi { *this, "liexi", "歌曲信息", &liemenu };
    rt::Menu Line3 { *this, "Line3", "-", &liemenu };
    rt::Menu del { *this, "del", "删除", &liemenu };
    rt::Menu delbao { *this, "delbao", "删除（包括文件）", &liemenu };
    rt::Menu lieqing { *this, "lieqing", "清空列表", &liemenu };
    rt::Menu liechon { *this, "liechon", "重命名", &liemenu };

    // The notification icon record as it was added.
    const platform::NotifyIconRecord& iconRecord() const { return m_icon; }

    void pic_MouseMove(const rt::MouseEvent& e);
    void Form_DblClick();
    void WebBrowser3_BeforeNavigate(const std::string& url);
    void opentool_Click();
    void downvideo_Click();
    void onlinemusic_Click();
    void onlinevideo_Click();
    void exitmaun_Click();

private:
    void applySkinDefaults();
    void addNotificationIcon();
    void showHubWith(const std::string& tile);
    // Wires the playlist menu's items to their commands.
    void wirePlaylistMenu();
    // The playlist menu's commands on the player's shown list.
    void play_Click();
    void addmp3_Click();
    void addpath_Click();
    void bodan_Click();
    void boxun_Click();
    void boshun_Click();
    void bolie_Click();
    void bosui_Click();
    void copyy_Click();
    void lieda_Click();
    void del_Click();
    void delbao_Click();
    void lieqing_Click();
    // Writes a play-mode word into the player.
    void setPlayMode(const char* word);

    platform::NotifyIconRecord m_icon;
};

} // namespace zelvora
