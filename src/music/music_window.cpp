#include "music/music_window.h"

#include "common/chrome.h"
#include "common/data_folders.h"
#include "common/feature_window.h"
#include "music/page_store.h"
#include "platform/config.h"
#include "platform/network.h"
#include "runtime/app.h"
#include "shell/updater_window.h"

namespace music {

namespace {
const char* const kPrompt = "请选择网络播放器...";
const char* const kOffline = "断网了，不能启动播放器...";
constexpr int kPanelHeight = 577;
constexpr int kHarvestPromptTop = 1600;
} // namespace

std::string panelText(const std::string& message)
{
    return "\r\n\r\n\r\n\r\n" + message;
}

Form1::Form1(runtime::App& app)
    : runtime::Form(app, "Form1")
{
    common::setupFeatureWindow(*this, "急速音乐");
    WebBrowser1.move(0, 0, 958, kPanelHeight);
    Text5.setMultiLine(true);
    Text5.setAlignment(runtime::AlignCenter);
    Text5.setFontSize(14);
    Text5.move(0, 0, 958, kPanelHeight);
    for (runtime::TextBox* hidden : { &qiemusic, &qiemusic1, &Text3, &Text4 })
        hidden->setVisible(false);
    const std::vector<MusicService>& services = musicServices();
    int left = 8;
    for (size_t i = 0; i < services.size(); ++i) {
        runtime::Image& tile = this->*services[i].tile;
        tile.move(left, 582, 64, 64);
        left += 72;
        tile.setPicture(common::resourcePicture(services[i].picture));
        const int index = static_cast<int>(i);
        tile.onClick = [this, index] { Image_Click(index); };
        // The 豆瓣FM tile gives its tip only once a button is pressed on it.
        if (&tile == &Image15)
            tile.onMouseDown = [this](const runtime::MouseEvent& e) { Image15_MouseDown(e); };
        else
            tile.onMouseMove = [this, index](const runtime::MouseEvent&) { Image_MouseMove(index); };
    }
    Command1.setCaption("十秒下载本次飘过的所有歌曲和视频");
    Command1.move(874, 590, 80, 48);
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Timer3.onTimer = [this] { Timer3_Timer(); };
    Timer5.onTimer = [this] { Timer5_Timer(); };
    Command1.onClick = [this] { Command1_Click(); };
    WebBrowser1.onDownloadComplete = [this] { WebBrowser1_DownloadComplete(); };
    onMouseDown = [this](const runtime::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const runtime::MouseEvent& e) { Form_MouseUp(e); };
}

std::vector<runtime::Image*> Form1::tiles()
{
    std::vector<runtime::Image*> all;
    for (const MusicService& s : musicServices())
        all.push_back(&(this->*s.tile));
    return all;
}

common::SkinnedWindow Form1::skin()
{
    common::SkinnedWindow w { *this, Text3, Text4, { &Text5 } };
    w.paintsOwnBackground = true;
    w.refreshesCache = true;
    w.styleUpdater = true;
    return w;
}

void Form1::load()
{
    common::ApplySkinOnLoad(skin());
    Text5.setEnabled(false);
    Timer2.start(1);
    Text5.setVisible(false);
    Text5.move(0, 0, Text5.width(), kPanelHeight);
    common::EnsureTempFolder(app());
    WebBrowser1.navigate("about:blank");
    WebBrowser1.setSilent(true);
    WebBrowser1.setTop(0);
    WebBrowser1.setLeft(-1);
    Text5.setText(panelText(kPrompt));
    WebBrowser1.setVisible(false);
    Text5.move(0, 0, Text5.width(), kPanelHeight);
    Text5.setVisible(true);
    for (runtime::Image* tile : tiles())
        tile->setEnabled(true);
}

bool Form1::online()
{
    runtime::App& a = app();
    // Without a network there is nothing to connect to.
    if (!a.hasService<platform::Network>())
        return false;
    return a.service<platform::Network>().checkConnection(a.service<platform::Config>().get("probe"));
}

void Form1::LaunchMusicService(const MusicService& service)
{
    qiemusic.setText((app().get<music>().*service.page).caption());
    qiemusic1.setText(service.launchMessage);
    if (online()) {
        Timer3.start(1);
    } else {
        // Only the text changes: a panel already hidden stays hidden and the service in view
        // keeps playing.
        Text5.setText(panelText(kOffline));
    }
}

void Form1::Image_Click(int index)
{
    LaunchMusicService(musicServices().at(static_cast<size_t>(index)));
}

void Form1::Image_MouseMove(int index)
{
    const MusicService& s = musicServices().at(static_cast<size_t>(index));
    (this->*s.tile).setToolTipText(s.toolTip);
}

void Form1::Image15_MouseDown(const runtime::MouseEvent&)
{
    for (const MusicService& s : musicServices()) {
        if (s.tile == &Form1::Image15)
            Image15.setToolTipText(s.toolTip);
    }
}

void Form1::Timer3_Timer()
{
    WebBrowser1.setVisible(true);
    Timer2.start(1);
    Text5.setText(panelText(qiemusic1.text()));
    Text5.setVisible(true);
    common::EnsureTempFolder(app());
    WebBrowser1.reload("about:blank");
    // Writing the page replaces whatever document the browser holds.
    WebBrowser1.write(qiemusic.text());
    Timer3.setEnabled(false);
}

void Form1::Timer2_Timer()
{
    if (WebBrowser1.busy())
        return;
    WebBrowser1.setBodyScroll("no");
    if (!qiemusic.text().empty())
        Text5.setVisible(false);
    Timer2.setEnabled(false);
}

void Form1::Timer5_Timer()
{
    common::RefreshSkin(skin(), Timer5);
}

void Form1::Command1_Click()
{
    shell::Form4& updater = app().get<shell::Form4>();
    updater.Command1.setVisible(false);
    updater.Command2.setVisible(true);
    updater.Command3.setVisible(true);
    updater.Label1.setCaption(shell::kHarvestPromptText);
    updater.Label1.setTop(kHarvestPromptTop);
    // The updater window gives the button back when it is dismissed.
    Command1.setEnabled(false);
    updater.show(true, this);
}

void Form1::WebBrowser1_DownloadComplete()
{
    M_Dom.bound = true;
    M_Dom.location = WebBrowser1.location();
    WebBrowser1.onDocumentContextMenu = [this] { return M_Dom_oncontextmenu(); };
}

bool Form1::M_Dom_oncontextmenu()
{
    return false;
}

void Form1::Form_MouseDown(const runtime::MouseEvent& e)
{
    common::chrome::beginDrag(*this, e);
}

void Form1::Form_MouseMove(const runtime::MouseEvent& e)
{
    common::chrome::dragMove(*this, e);
}

void Form1::Form_MouseUp(const runtime::MouseEvent&)
{
    common::chrome::endDrag(*this);
}

} // namespace music
