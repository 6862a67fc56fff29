// The tray menu: the four shortcuts to the hub's tiles, and leaving the program.
#include "common/data_folders.h"
#include "desklyrics/desk_lyrics_window.h"
#include "downloads/list_window.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "platform/tray.h"
#include "runtime/app.h"
#include "shell/hub_window.h"
#include "traymenu/tray_window.h"

namespace traymenu {

void Form6::showHubWith(const std::string& tile)
{
    shell::moban& hub = app().get<shell::moban>();
    hub.show();
    hub.selectTileFromTray(tile);
}

void Form6::opentool_Click()
{
    showHubWith(shell::kTileToolbox);
}

void Form6::downvideo_Click()
{
    showHubWith(shell::kTileVideo);
}

void Form6::downlist_Click()
{
    downloads::showDownloadList(app());
}

void Form6::onlinemusic_Click()
{
    showHubWith(shell::kTileMusic);
}

void Form6::onlinevideo_Click()
{
    showHubWith(shell::kTilePlayer);
}

void Form6::geci_Click()
{
    app().get<desklyrics::geci>().toggle();
    markDeskLyrics();
}

void Form6::jiesuo_Click()
{
    desklyrics::geci& bar = app().get<desklyrics::geci>();
    bar.setLocked(!bar.locked());
    markDeskLyrics();
}

void Form6::markDeskLyrics()
{
    const desklyrics::geci* bar = app().find<desklyrics::geci>();
    geci.setChecked(bar && bar->visible());
    jiesuo.setCaption(bar && bar->locked() ? desklyrics::geci::kUnlock : desklyrics::geci::kLock);
    jiesuo.setEnabled(bar && bar->visible());
}

void Form6::exitmaun_Click()
{
    runtime::App& a = app();
    const std::string marker
        = platform::joinPath(a.service<platform::Environment>().desktopFolder(), "bro.cfg");
    if (platform::fileExists(marker))
        std::ignore = platform::deleteFile(marker); // a marker left only keeps its old meaning
    platform::MessageBoxRequest ask;
    ask.text = "您真的要退出播放器吗？";
    ask.title = "系统提示";
    ask.buttons = platform::YesNo;
    ask.icon = platform::Exclamation;
    ask.defaultButton = platform::DefaultButton2;
    if (a.service<platform::Dialogs>().messageBox(ask) == platform::AnswerYes)
        exitProgram();
}

void Form6::exitProgram()
{
    runtime::App& a = app();
    const std::string toolFolder = common::dataPaths(a).tool;
    for (const char* name : { "ics.vbs", "start.bat", "close.bat", "kdjs.bat" }) {
        const std::string path = toolFolder + name;
        if (platform::fileExists(path))
            std::ignore = platform::deleteFile(path); // else the next start's sweep does
    }
    if (a.hasService<platform::TrayIcon>())
        a.service<platform::TrayIcon>().remove(m_icon);
    a.end();
}

} // namespace traymenu
