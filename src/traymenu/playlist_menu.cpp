// The playlist menu: play the selected entry, add a file or a folder through the player's
// add job, and choose the play mode.
#include <algorithm>

#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "traymenu/tray_window.h"

namespace traymenu {

namespace {

// The folder chooser: the chosen folder up to its first NUL, or empty when cancelled. An
// empty title is replaced by a generic one.
std::string chooseFolder(runtime::App& app, const std::string& title, const std::string& start)
{
    const std::string shown = title.empty() ? "选择目录" : title;
    const std::string folder
        = app.service<platform::Dialogs>().browseFolder(shown, start).value_or(std::string());
    return folder.substr(0, folder.find('\0'));
}
} // namespace

std::string Form6::dialogFolder()
{
    if (!m_dialogFolder.empty() && platform::folderExists(m_dialogFolder))
        return m_dialogFolder;
    // Sound: the dialogs start where the user keeps media, not in the program's folder (for
    // an installed program a system folder).
    const bool videos = app().get<player::Form5>().liebiao.text() == player::kVideoListCaption;
    return app().service<platform::Environment>().mediaFolder(videos);
}

void Form6::chosenInDialog(const std::string& path, bool isFolder)
{
    const size_t end = path.rfind(platform::kSeparator);
    if (isFolder)
        m_dialogFolder = path;
    else if (end != std::string::npos)
        m_dialogFolder = path.substr(0, end == 0 ? 1 : end);
}

void Form6::wirePlaylistMenu()
{
    play.onClick = [this] { play_Click(); };
    addmp3.onClick = [this] { addmp3_Click(); };
    addpath.onClick = [this] { addpath_Click(); };
    daoru.onClick = [this] { daoru_Click(); };
    daochu.onClick = [this] { daochu_Click(); };
    bodan.onClick = [this] { bodan_Click(); };
    boxun.onClick = [this] { boxun_Click(); };
    boshun.onClick = [this] { boshun_Click(); };
    bolie.onClick = [this] { bolie_Click(); };
    bosui.onClick = [this] { bosui_Click(); };
    copyy.onClick = [this] { copyy_Click(); };
    lieda.onClick = [this] { lieda_Click(); };
    del.onClick = [this] { del_Click(); };
    delbao.onClick = [this] { delbao_Click(); };
    lieqing.onClick = [this] { lieqing_Click(); };
}

void Form6::play_Click()
{
    player::Form5& player = app().get<player::Form5>();
    if (player.liebiao.text() != player::kNetworkListCaption) {
        player.playSelected(player.List1, player.List2, player::kPlayList);
        return;
    }
    const int index = player.List1.listIndex();
    if (index >= 0)
        player.playNetworkEntry(index);
}

void Form6::addmp3_Click()
{
    player::Form5& player = app().get<player::Form5>();
    if (player.liebiao.text() == player::kNetworkListCaption)
        return;
    platform::OpenFileRequest request;
    request.title = "打开文件";
    request.initialFolder = dialogFolder();
    request.filters = {
        { "歌曲文件(*.mp3;*.WAV;*.MP2;*.OGG;*.M4A;*.AMR;*.MMF;*.AAC;*.FLAC;*.MP3;*.WMA;*.MID;)",
            "*.mp3;*.WAV;*.MP2;*.OGG;*.M4A;*.AMR;*.MMF;*.AAC;*.FLAC;*.MP3;*.WMA;*.MID;" },
        { "视频文件(*.MOV;*.3GP;*.AVI;*.SWF;*.MP4;*.WMV;*.MPG;*.VOB;*.RMVB;*.MKV;*.FLV;)",
            "*.MOV;*.3GP;*.AVI;*.SWF;*.MP4;*.WMV;*.MPG;*.VOB;*.RMVB;*.MKV;*.FLV;" },
        { "种子文件(*.QSED;*.TORRENT;*.BSED)", "*.QSED;*.TORRENT;*.BSED" },
        { "所有文件(*.*)", "*.*" },
    };
    const std::optional<std::string> chosen = app().service<platform::Dialogs>().openFile(request);
    if (!chosen || chosen->empty()) {
        // Sound: the cancel marker has a field of its own; Text1 keeps the hub's position.
        Text6.setText("取消");
        return;
    }
    chosenInDialog(*chosen);
    const std::vector<std::string>& listed = player.List2.items();
    if (std::find(listed.begin(), listed.end(), *chosen) != listed.end())
        Text5.setText("存在");
    if (Text5.text() != "存在") {
        player.startAddJob(*chosen);
        return;
    }
    // Already in the shown list: play it at once, add nothing.
    player.WindowsMediaPlayer1.setUrl(*chosen);
    player.WindowsMediaPlayer1.play();
    Text5.setText("不存在");
}

void Form6::addpath_Click()
{
    player::Form5& player = app().get<player::Form5>();
    if (player.liebiao.text() == player::kNetworkListCaption)
        return;
    player.hideDecoderHint();
    std::string folder = chooseFolder(app(), "请选择扫描目录", dialogFolder());
    if (folder.empty())
        return;
    while (folder.size() > 1 && folder.back() == platform::kSeparator)
        folder.pop_back();
    chosenInDialog(folder, true);
    player.addFolder(folder);
}

void Form6::setPlayMode(const char* word)
{
    app().get<player::Form5>().Text3.setText(word);
}

void Form6::markPlayMode(const std::string& word)
{
    struct Item {
        runtime::Menu* menu;
        const char* word;
    };
    // A double click in the search results plays them in list order too.
    const Item items[] = { { &bodan, player::kPlayRepeatOne }, { &boxun, player::kPlayLoop },
        { &boshun, player::kPlayOnce }, { &bolie, player::kPlayList }, { &bosui, player::kPlayRandom } };
    for (const Item& item : items)
        item.menu->setChecked(word == item.word || (item.menu == &bolie && word == player::kPlaySearch));
}

void Form6::bodan_Click()
{
    setPlayMode(player::kPlayRepeatOne);
}

void Form6::boxun_Click()
{
    setPlayMode(player::kPlayLoop);
}

void Form6::boshun_Click()
{
    setPlayMode(player::kPlayOnce);
}

void Form6::bolie_Click()
{
    setPlayMode(player::kPlayList);
}

void Form6::bosui_Click()
{
    setPlayMode(player::kPlayRandom);
}

} // namespace traymenu
