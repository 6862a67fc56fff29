// The hub's tiles, title buttons and dragging: choosing the hosted window and keeping it
// glued below the hub.
#include "music/music_window.h"
#include "platform/config.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "platform/tray.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"
#include "shell/chrome.h"
#include "shell/hub_window.h"
#include "shell/skin.h"
#include "shell/window_sizes.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"
#include "video/video_window.h"
#include "video/web_play_window.h"

namespace zelvora {

namespace {
constexpr int64_t kCloseHover = 0x0000FF;
constexpr int64_t kButtonHover = 0x80FF80;

void setTileLook(rt::Label& tile, bool selected)
{
    tile.setFontBold(selected);
    tile.setForeColor(selected ? kTileBlack : kTileGrey);
}
} // namespace

void moban::setTileLooks(rt::Label* selected)
{
    for (rt::Label* tile : { &Label6, &Label7, &Label8, &Label9, &Label10 })
        setTileLook(*tile, tile == selected);
}

void moban::showChild(rt::Form& child, int childHeight)
{
    child.setHeight(childHeight);
    setHeight(height() / 15 + child.height() + 540);
    child.move(left(), top() + kChildOffset);
    child.show(false, this);
}

void moban::selectTile(const std::string& caption)
{
    rt::App& a = app();
    if (caption == "急速音乐") {
        setTileLooks(&Label6);
        qied.setText(caption);
        a.unload<Form5>();
        a.unload<Form2>();
        a.unload<tool>();
        Form1& music = a.get<Form1>();
        showChild(music, music.height());
    } else if (caption == "在线影音") {
        setTileLooks(&Label7);
        qied.setText(caption);
        a.unload<Form1>();
        a.unload<Form2>();
        a.unload<tool>();
        showChild(a.get<Form5>(), a.get<Form1>().height());
    } else if (caption == "视频下载") {
        setTileLooks(&Label8);
        qied.setText(caption);
        a.unload<Form5>();
        a.unload<Form1>();
        a.unload<tool>();
        Form2& video = a.get<Form2>();
        video.Text3.setLeft(40);
        video.Text3.setWidth(809);
        video.Command9.setLeft(864);
        showChild(video, a.get<Form1>().height());
    } else if (caption == "工具箱") {
        setTileLooks(&Label9);
        qied.setText(caption);
        a.unload<Form5>();
        a.unload<Form1>();
        a.unload<Form2>();
        showChild(a.get<tool>(), a.get<Form1>().height());
    }
}

void moban::Label6_MouseDown(const rt::MouseEvent& e)
{
    if (e.button == rt::LeftButton)
        selectTile(Label6.caption());
}

void moban::Label7_MouseDown(const rt::MouseEvent& e)
{
    if (e.button == rt::LeftButton)
        selectTile(Label7.caption());
}

void moban::Label8_MouseDown(const rt::MouseEvent& e)
{
    if (e.button == rt::LeftButton)
        selectTile(Label8.caption());
}

void moban::Label9_MouseDown(const rt::MouseEvent& e)
{
    if (e.button == rt::LeftButton)
        selectTile(Label9.caption());
}

void moban::Label10_MouseDown(const rt::MouseEvent& e)
{
    rt::App& a = app();
    if (e.button == rt::LeftButton) {
        setTileLooks(&Label10);
        showChild(a.get<play>(), a.get<Form1>().height());
    } else if (e.button == rt::RightButton) {
        sjsj.setText(vb::Str(vb::toLong(sjsj.text()) + 1));
        if (sjsj.text() == "2") {
            a.unload<play>();
            Label10.setVisible(false);
            sjsj.setText("0");
        }
    }
}

void moban::Label10_MouseMove(const rt::MouseEvent&)
{
    Label10.setFontBold(true);
    Label10.setForeColor(kTileBlack);
    Label10.setToolTipText("两次单击右键将关闭此窗口");
}

void moban::Label2_Click()
{
    rt::App& a = app();
    a.service<platform::Shell>().open(
        a.service<platform::Config>().get("maker_site"), a.service<platform::Environment>().programFolder());
}

void moban::Label3_Click()
{
    rt::App& a = app();
    // Without a notification area nothing would reach the program once the hub is gone:
    // closing it then asks the tray menu's exit question instead, and No keeps the hub.
    if (a.hasService<platform::TrayIcon>() && !a.service<platform::TrayIcon>().available()) {
        a.get<Form6>().exitmaun.click();
        return;
    }
    a.unload<moban>();
}

void moban::Label4_Click()
{
    setWindowState(1);
}

void moban::Label5_Click()
{
    app().get<setz>().show(true, this);
}

void moban::hoverTitleButton(rt::Label& hovered)
{
    for (rt::Label* b : { &Label3, &Label4, &Label5 }) {
        if (b == &hovered) {
            b->setBackStyle(rt::Opaque);
            b->setBackColor(b == &Label3 ? kCloseHover : kButtonHover);
        } else {
            b->setBackStyle(rt::Transparent);
        }
    }
}

void moban::Label3_MouseMove(const rt::MouseEvent&)
{
    hoverTitleButton(Label3);
}

void moban::Label4_MouseMove(const rt::MouseEvent&)
{
    hoverTitleButton(Label4);
}

void moban::Label5_MouseMove(const rt::MouseEvent&)
{
    hoverTitleButton(Label5);
}

void moban::glueChildren()
{
    rt::App& a = app();
    Form6& tray = a.get<Form6>();
    tray.Text1.setText(vb::Str(left()));
    tray.Text2.setText(vb::Str(top()));
    const std::string tile = qied.text();
    rt::Form* child = nullptr;
    rt::Label* selected = nullptr;
    if (tile == "急速音乐") {
        child = &a.get<Form1>();
        selected = &Label6;
    } else if (tile == "在线影音") {
        child = &a.get<Form5>();
        selected = &Label7;
    } else if (tile == "视频下载") {
        child = &a.get<Form2>();
        selected = &Label8;
    } else if (tile == "工具箱") {
        child = &a.get<tool>();
        selected = &Label9;
    }
    if (child) {
        child->move(left(), top() + kChildOffset);
        for (rt::Label* t : { &Label6, &Label7, &Label8, &Label9 }) {
            if (t != selected)
                setTileLook(*t, false);
        }
    }
    // A web play window that is not loaded cannot carry the flag; looking at it must not load it.
    play* web = a.find<play>();
    if (web && web->Text1.text() == "y") {
        sjsj.setText("0");
        web->move(left(), top() + kChildOffset);
    }
    for (rt::Label* b : { &Label3, &Label4, &Label5 })
        b->setBackStyle(rt::Transparent);
}

void moban::Form_MouseDown(const rt::MouseEvent& e)
{
    chrome::beginDrag(*this, e);
}

void moban::Form_MouseMove(const rt::MouseEvent& e)
{
    glueChildren();
    chrome::dragMove(*this, e);
    // The children follow the hub's new place at once.
    if (drag.dragging)
        glueChildren();
}

void moban::Form_MouseUp(const rt::MouseEvent&)
{
    chrome::endDrag(*this);
}

void moban::Timer1_Timer()
{
    SkinnedWindow w { *this, Text3, Text4, {} };
    w.recreatesFile = true;
    RefreshSkin(w, Timer1);
}

} // namespace zelvora
