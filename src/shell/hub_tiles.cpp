// The hub's tiles, title buttons and dragging: choosing the hosted window and keeping it
// glued below the hub.
#include "common/chrome.h"
#include "common/skin.h"
#include "common/window_sizes.h"
#include "music/music_window.h"
#include "platform/config.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "platform/tray.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"
#include "video/video_window.h"
#include "video/web_play_window.h"

namespace shell {

namespace {
constexpr int64_t kCloseHover = 0x0000FF;
constexpr int64_t kButtonHover = 0x80FF80;
// Below the child (twips): the update line, 21 pixels above the hub's bottom, and a pixel over
// it. The hub is sized from its child alone (with the 650-pixel child, 730 pixels at start-up
// and after every tile), never from its own height, so it does not grow from tile to tile.
constexpr int kBelowChild = 22 * runtime::kTwipsPerPixel;

void setTileLook(runtime::Label& tile, bool selected)
{
    tile.setFontBold(selected);
    tile.setForeColor(selected ? kTileBlack : kTileGrey);
}
} // namespace

void moban::setTileLooks(runtime::Label* selected)
{
    for (runtime::Label* tile : { &Label6, &Label7, &Label8, &Label9, &Label10 })
        setTileLook(*tile, tile == selected);
}

void moban::showChild(runtime::Form& child, int childHeight)
{
    child.setHeight(childHeight);
    fitToChild(child.height());
    child.move(left(), top() + common::kChildOffset);
    child.show(false, this);
}

void moban::fitToChild(int childHeight)
{
    setHeight(common::kChildOffset + childHeight + kBelowChild);
    // Sound: the update line spans the hub's width in pixels, not its width in twips (fifteen
    // times the window).
    const int heightPixels = height() / runtime::kTwipsPerPixel;
    const int widthPixels = width() / runtime::kTwipsPerPixel;
    Label1.move(0, heightPixels - 21, widthPixels, Label1.height());
}

void moban::selectTile(const std::string& caption)
{
    runtime::App& a = app();
    if (caption == kTileMusic) {
        setTileLooks(&Label6);
        qied.setText(caption);
        a.unload<player::Form5>();
        a.unload<video::Form2>();
        a.unload<toolbox::tool>();
        music::Form1& music = a.get<music::Form1>();
        showChild(music, music.height());
    } else if (caption == kTilePlayer) {
        setTileLooks(&Label7);
        qied.setText(caption);
        a.unload<music::Form1>();
        a.unload<video::Form2>();
        a.unload<toolbox::tool>();
        showChild(a.get<player::Form5>(), a.get<music::Form1>().height());
    } else if (caption == kTileVideo) {
        setTileLooks(&Label8);
        qied.setText(caption);
        a.unload<player::Form5>();
        a.unload<music::Form1>();
        a.unload<toolbox::tool>();
        video::Form2& video = a.get<video::Form2>();
        video.Text3.setLeft(40);
        video.Text3.setWidth(809);
        video.Command9.setLeft(864);
        showChild(video, a.get<music::Form1>().height());
    } else if (caption == kTileToolbox) {
        setTileLooks(&Label9);
        qied.setText(caption);
        a.unload<player::Form5>();
        a.unload<music::Form1>();
        a.unload<video::Form2>();
        showChild(a.get<toolbox::tool>(), a.get<music::Form1>().height());
    }
}

void moban::selectTileFromTray(const std::string& caption)
{
    const bool bold = Label10.fontBold();
    const int64_t colour = Label10.foreColor();
    selectTile(caption);
    Label10.setFontBold(bold);
    Label10.setForeColor(colour);
}

void moban::Label6_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton)
        selectTile(Label6.caption());
}

void moban::Label7_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton)
        selectTile(Label7.caption());
}

void moban::Label8_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton)
        selectTile(Label8.caption());
}

void moban::Label9_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton)
        selectTile(Label9.caption());
}

void moban::Label10_MouseDown(const runtime::MouseEvent& e)
{
    runtime::App& a = app();
    if (e.button == runtime::LeftButton) {
        setTileLooks(&Label10);
        showChild(a.get<video::play>(), a.get<music::Form1>().height());
    } else if (e.button == runtime::RightButton) {
        sjsj.setText(vb::Str(vb::toLong(sjsj.text()) + 1));
        if (sjsj.text() == "2") {
            a.unload<video::play>();
            Label10.setVisible(false);
            sjsj.setText("0");
        }
    }
}

void moban::Label10_MouseMove(const runtime::MouseEvent&)
{
    Label10.setFontBold(true);
    Label10.setForeColor(kTileBlack);
    Label10.setToolTipText("两次单击右键将关闭此窗口");
}

void moban::Label2_Click()
{
    runtime::App& a = app();
    // The desktop's browser reports its own trouble.
    std::ignore = a.service<platform::Shell>().open(
        a.service<platform::Config>().get("maker_site"), a.service<platform::Environment>().programFolder());
}

void moban::Label3_Click()
{
    runtime::App& a = app();
    // Without a notification area nothing would reach the program once the hub is gone:
    // closing it then asks the tray menu's exit question instead, and No keeps the hub.
    if (a.hasService<platform::TrayIcon>() && !a.service<platform::TrayIcon>().available()) {
        a.get<traymenu::Form6>().exitmaun.click();
        return;
    }
    a.unload<moban>();
}

// The title buttons lose their hover look when pressed: the pointer is then over the
// settings window or the hub is minimized, and no move over the hub would take it back.
void moban::Label4_Click()
{
    Label4.setBackStyle(runtime::Transparent);
    setWindowState(runtime::WindowState::Minimized);
}

void moban::Label5_Click()
{
    Label5.setBackStyle(runtime::Transparent);
    settings::setz& settings = app().get<settings::setz>();
    // Over the hub where it is now, not where it was when the settings window loaded.
    settings.centreOverHub();
    settings.show(true, this);
}

void moban::hoverTitleButton(runtime::Label& hovered)
{
    for (runtime::Label* b : { &Label3, &Label4, &Label5 }) {
        if (b == &hovered) {
            b->setBackStyle(runtime::Opaque);
            b->setBackColor(b == &Label3 ? kCloseHover : kButtonHover);
        } else {
            b->setBackStyle(runtime::Transparent);
        }
    }
}

void moban::Label3_MouseMove(const runtime::MouseEvent&)
{
    hoverTitleButton(Label3);
}

void moban::Label4_MouseMove(const runtime::MouseEvent&)
{
    hoverTitleButton(Label4);
}

void moban::Label5_MouseMove(const runtime::MouseEvent&)
{
    hoverTitleButton(Label5);
}

void moban::glueChildren()
{
    runtime::App& a = app();
    traymenu::Form6& tray = a.get<traymenu::Form6>();
    tray.Text1.setText(vb::Str(left()));
    tray.Text2.setText(vb::Str(top()));
    const std::string tile = qied.text();
    runtime::Form* child = nullptr;
    runtime::Label* selected = nullptr;
    if (tile == kTileMusic) {
        child = &a.get<music::Form1>();
        selected = &Label6;
    } else if (tile == kTilePlayer) {
        child = &a.get<player::Form5>();
        selected = &Label7;
    } else if (tile == kTileVideo) {
        child = &a.get<video::Form2>();
        selected = &Label8;
    } else if (tile == kTileToolbox) {
        child = &a.get<toolbox::tool>();
        selected = &Label9;
    }
    if (child) {
        child->move(left(), top() + common::kChildOffset);
        for (runtime::Label* t : { &Label6, &Label7, &Label8, &Label9 }) {
            if (t != selected)
                setTileLook(*t, false);
        }
    }
    // A web play window that is not loaded cannot carry the flag; looking at it must not load it.
    video::play* web = a.find<video::play>();
    if (web && web->Text1.text() == "y") {
        sjsj.setText("0");
        web->move(left(), top() + common::kChildOffset);
    }
    for (runtime::Label* b : { &Label3, &Label4, &Label5 })
        b->setBackStyle(runtime::Transparent);
}

void moban::Form_MouseDown(const runtime::MouseEvent& e)
{
    common::chrome::beginDrag(*this, e);
}

void moban::Form_MouseMove(const runtime::MouseEvent& e)
{
    glueChildren();
    common::chrome::dragMove(*this, e);
    // The children follow the hub's new place at once.
    if (drag.dragging)
        glueChildren();
}

void moban::Form_MouseUp(const runtime::MouseEvent&)
{
    common::chrome::endDrag(*this);
}

void moban::Timer1_Timer()
{
    common::SkinnedWindow w { *this, Text3, Text4, {} };
    w.recreatesFile = true;
    common::RefreshSkin(w, Timer1);
}

} // namespace shell
