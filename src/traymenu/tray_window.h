#pragma once
#include "platform/tray.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace traymenu {

// The hidden tray window: the notification icon and its menu, the playlist menus, the
// shared skin cache and the hidden fields other windows use as shared variables.
class Form6 : public runtime::Form {
public:
    explicit Form6(runtime::App& app);
    void load() override;

    // Skin settings cache.
    runtime::ListBox List1 { *this, "List1" };
    runtime::TextBox ini1 { *this, "ini1" };
    runtime::TextBox ini2 { *this, "ini2" };
    runtime::TextBox ini3 { *this, "ini3" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    // The built-in default background picture.
    runtime::Image Image1 { *this, "Image1" };
    // Version text and build number.
    runtime::TextBox xin { *this, "xin" };
    runtime::TextBox xin1 { *this, "xin1" };
    // The hub's position as text.
    runtime::TextBox Text1 { *this, "Text1" };
    runtime::TextBox Text2 { *this, "Text2" };
    // Marker of the add-file command ("存在" / "不存在").
    runtime::TextBox Text5 { *this, "Text5" };
    // Set to "取消" when the add-file dialog was cancelled; kept apart from the hub position.
    runtime::TextBox Text6 { *this, "Text6" };
    // Receives the notification icon's events; its picture is the icon.
    runtime::PictureBox pic { *this, "pic" };
    runtime::WebBrowser WebBrowser3 { *this, "WebBrowser3" };

    // Tray menu.
    runtime::Menu kuai { *this, "kuai", "菜单选项" };
    runtime::Menu opentool { *this, "opentool", "打开工具箱", &kuai };
    runtime::Menu downvideo { *this, "downvideo", "下载视频", &kuai };
    runtime::Menu downlist { *this, "downlist", "下载列表", &kuai };
    runtime::Menu onlinemusic { *this, "onlinemusic", "在线音乐", &kuai };
    runtime::Menu onlinevideo { *this, "onlinevideo", "在线影视", &kuai };
    runtime::Menu geci { *this, "geci", "桌面歌词", &kuai };
    runtime::Menu jiesuo { *this, "jiesuo", "锁定桌面歌词", &kuai };
    runtime::Menu exitmaun { *this, "exitmaun", "退出播放器", &kuai };

    // Playlist menu.
    runtime::Menu liemenu { *this, "liemenu", "播放列表" };
    runtime::Menu play { *this, "play", "播放", &liemenu };
    runtime::Menu Line1 { *this, "Line1", "-", &liemenu };
    runtime::Menu mp3 { *this, "mp3", "添加歌曲", &liemenu };
    runtime::Menu addmp3 { *this, "addmp3", "添加本地歌曲", &mp3 };
    runtime::Menu addpath { *this, "addpath", "添加本地文件夹", &mp3 };
    runtime::Menu daoru { *this, "daoru", "导入播放列表...", &liemenu };
    runtime::Menu daochu { *this, "daochu", "导出播放列表...", &liemenu };
    runtime::Menu liep { *this, "liep", "歌曲排序", &liemenu };
    runtime::Menu pname { *this, "pname", "按文件名", &liep };
    runtime::Menu ptime { *this, "ptime", "按时间", &liep };
    runtime::Menu lieb { *this, "lieb", "播放模式", &liemenu };
    runtime::Menu bodan { *this, "bodan", "单曲播放", &lieb };
    runtime::Menu boxun { *this, "boxun", "单曲循环", &lieb };
    runtime::Menu boshun { *this, "boshun", "顺序播放", &lieb };
    runtime::Menu bolie { *this, "bolie", "列表循环", &lieb };
    runtime::Menu bosui { *this, "bosui", "随机播放", &lieb };
    runtime::Menu Line2 { *this, "Line2", "-", &liemenu };
    runtime::Menu liefu { *this, "liefu", "复制歌曲到", &liemenu };
    runtime::Menu copyy { *this, "copyy", "复制到可移动磁盘", &liefu };
    runtime::Menu lieda { *this, "lieda", "打开文件目录", &liemenu };
    runtime::Menu liexi { *this, "liexi", "歌曲信息", &liemenu };
    runtime::Menu Line3 { *this, "Line3", "-", &liemenu };
    runtime::Menu del { *this, "del", "删除", &liemenu };
    runtime::Menu delbao { *this, "delbao", "删除（包括文件）", &liemenu };
    runtime::Menu lieqing { *this, "lieqing", "清空列表", &liemenu };
    runtime::Menu liechon { *this, "liechon", "重命名", &liemenu };

    // The notification icon record as it was added.
    [[nodiscard]] const platform::NotifyIconRecord& iconRecord() const { return m_icon; }

    void pic_MouseMove(const runtime::MouseEvent& e);
    void Form_DblClick();
    void WebBrowser3_BeforeNavigate(const std::string& url);
    void opentool_Click();
    void downvideo_Click();
    void downlist_Click();
    void onlinemusic_Click();
    void onlinevideo_Click();
    void geci_Click();
    void jiesuo_Click();
    // Shows the desktop lyrics' state on its items (checked while shown; lock or unlock).
    void markDeskLyrics();
    void exitmaun_Click();
    // Leaves the program as the exit entry does once the person has said yes: removes the
    // helper scripts and the icon, then ends.
    void exitProgram();
    // Checks the play-mode item of the player's play-mode word (none for another word).
    void markPlayMode(const std::string& word);

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
    void daoru_Click();
    void daochu_Click();
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
    // Where the playlist menu's file dialogs start: the folder last chosen in one of them,
    // else the user's music folder (video folder while the video list is shown).
    std::string dialogFolder();
    // Keeps the folder of a path chosen in a file dialog (the path itself for a folder).
    void chosenInDialog(const std::string& path, bool isFolder = false);

    platform::NotifyIconRecord m_icon;
    std::string m_dialogFolder;
};

} // namespace traymenu
