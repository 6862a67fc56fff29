#include "music/music_window.h"

#include "runtime/app.h"
#include "shell/chrome.h"
#include "shell/data_folders.h"
#include "shell/feature_window.h"

namespace zelvora {

std::string panelText(const std::string& message)
{
    return "\r\n\r\n\r\n\r\n" + message;
}

Form1::Form1(rt::App& app)
    : rt::Form(app, "Form1")
{
    setupFeatureWindow(*this, "急速音乐");
    WebBrowser1.move(0, 0, 958, 577);
    Text5.setMultiLine(true);
    Text5.setAlignment(rt::AlignCenter);
    Text5.setFontSize(14);
    Text5.move(0, 0, 958, 577);
    int left = 8;
    for (rt::Image* tile : tiles()) {
        tile->move(left, 582, 64, 64);
        left += 72;
    }
    Command1.setCaption("十秒下载本次飘过的所有歌曲和视频");
    Command1.move(874, 590, 80, 48);
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Timer5.onTimer = [this] { Timer5_Timer(); };
    onMouseDown = [this](const rt::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const rt::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const rt::MouseEvent& e) { Form_MouseUp(e); };
}

std::vector<rt::Image*> Form1::tiles()
{
    return {&Image3, &Image7, &Image8, &Image9, &Image10, &Image11, &Image12, &Image13, &Image14, &Image15,
        &Image16, &Image17};
}

SkinnedWindow Form1::skin()
{
    SkinnedWindow w{*this, Text3, Text4, {&Text5}};
    w.paintsOwnBackground = true;
    w.refreshesCache = true;
    w.styleUpdater = true;
    return w;
}

void Form1::load()
{
    ApplySkinOnLoad(skin());
    Text5.setEnabled(false);
    Timer2.start(1);
    Text5.setVisible(false);
    Text5.move(0, 0, Text5.width(), 577);
    shell::EnsureTempFolder(app());
    WebBrowser1.navigate("about:blank");
    WebBrowser1.setSilent(true);
    WebBrowser1.setTop(0);
    WebBrowser1.setLeft(-1);
    Text5.setText(panelText("请选择网络播放器..."));
    WebBrowser1.setVisible(false);
    Text5.move(0, 0, Text5.width(), 577);
    Text5.setVisible(true);
    for (rt::Image* tile : tiles())
        tile->setEnabled(true);
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
    RefreshSkin(skin(), Timer5);
}

void Form1::Form_MouseDown(const rt::MouseEvent& e)
{
    chrome::beginDrag(*this, e);
}

void Form1::Form_MouseMove(const rt::MouseEvent& e)
{
    chrome::dragMove(*this, e);
}

void Form1::Form_MouseUp(const rt::MouseEvent&)
{
    chrome::endDrag(*this);
}

}  // namespace zelvora
