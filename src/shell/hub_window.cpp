#include "shell/hub_window.h"

#include "common/chrome.h"
#include "common/feature_window.h"
#include "common/skin.h"
#include "common/window_sizes.h"
#include "music/music_window.h"
#include "platform/config.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/desktop_close.h"
#include "settings/settings_window.h"
#include "shell/updater_window.h"
#include "traymenu/tray_window.h"

namespace shell {

moban::moban(runtime::App& app)
    : runtime::Form(app, "moban")
{
    designLayout();
    onMouseDown = [this](const runtime::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const runtime::MouseEvent& e) { Form_MouseUp(e); };
    Label6.onMouseDown = [this](const runtime::MouseEvent& e) { Label6_MouseDown(e); };
    Label7.onMouseDown = [this](const runtime::MouseEvent& e) { Label7_MouseDown(e); };
    Label8.onMouseDown = [this](const runtime::MouseEvent& e) { Label8_MouseDown(e); };
    Label9.onMouseDown = [this](const runtime::MouseEvent& e) { Label9_MouseDown(e); };
    Label10.onMouseDown = [this](const runtime::MouseEvent& e) { Label10_MouseDown(e); };
    Label10.onMouseMove = [this](const runtime::MouseEvent& e) { Label10_MouseMove(e); };
    for (runtime::Label* tile : { &Label6, &Label7, &Label8, &Label9 }) {
        tile->onMouseMove = [tile](const runtime::MouseEvent&) {
            tile->setFontBold(true);
            tile->setForeColor(kTileBlack);
        };
    }
    Label2.onClick = [this] { Label2_Click(); };
    Label3.onClick = [this] { Label3_Click(); };
    // Sound: a close from the desktop is the close button's (without a notification area the
    // hub is the only way back to the program, and closing it asks whether to end).
    runtime::setDesktopCloseHandler(
        name(), [](runtime::Form& hub) { static_cast<moban&>(hub).Label3_Click(); });
    Label4.onClick = [this] { Label4_Click(); };
    Label5.onClick = [this] { Label5_Click(); };
    Label3.onMouseMove = [this](const runtime::MouseEvent& e) { Label3_MouseMove(e); };
    Label4.onMouseMove = [this](const runtime::MouseEvent& e) { Label4_MouseMove(e); };
    Label5.onMouseMove = [this](const runtime::MouseEvent& e) { Label5_MouseMove(e); };
    for (runtime::Label* button : { &Label3, &Label4, &Label5 })
        button->onMouseLeave = [button] { button->setBackStyle(runtime::Transparent); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Label1.onClick = [this] { Label1_Click(); };
    xin.onTimer = [this] { xin_Timer(); };
}

void moban::designLayout()
{
    setCaption("Zelvora");
    setScaleMode(runtime::ScaleMode::Pixels);
    setOwnChrome(true);
    move(common::kHubLeft, common::kHubTop);
    setWidth(common::kHubWidth);
    setHeight(common::kHubHeight);
    setBackColor(0xFFFFFF);
    Image2.setPicture(common::resourcePicture("pictures/ui/logo.png"));
    Image2.move(0, 0, 48, 48);
    Label2.setFontSize(12);
    Label2.setFontBold(true);
    Label2.setBackStyle(runtime::Transparent);
    Label2.move(0, 0, 300, 22);
    const struct {
        runtime::Label* label;
        const char* caption;
    } buttons[] = { { &Label5, "▼" }, { &Label4, "-" }, { &Label3, "×" } };
    for (const auto& b : buttons) {
        b.label->setCaption(b.caption);
        b.label->setAlignment(runtime::AlignCenter);
        b.label->setFontSize(12);
        b.label->setBackStyle(runtime::Transparent);
        b.label->setWidth(28);
        b.label->setHeight(22);
    }
    const struct {
        runtime::Label* label;
        const char* caption;
    } tiles[] = { { &Label6, kTileMusic }, { &Label7, kTilePlayer }, { &Label8, kTileVideo },
        { &Label9, kTileToolbox }, { &Label10, kTileNowPlaying } };
    int left = 360;
    for (const auto& t : tiles) {
        t.label->setCaption(t.caption);
        t.label->setAlignment(runtime::AlignCenter);
        t.label->setFontSize(11);
        t.label->setBackStyle(runtime::Transparent);
        t.label->setForeColor(kTileGrey);
        t.label->move(left, 32, 88, 22);
        left += 92;
    }
    Label10.setVisible(false);
    Label1.setBackStyle(runtime::Transparent);
    Label1.setFontSize(9);
    Label1.setHeight(18);
    for (runtime::TextBox* hidden : { &qied, &sjsj, &Text3, &Text4 })
        hidden->setVisible(false);
    sjsj.setText("0");
    Image3.setVisible(false);
}

void moban::load()
{
    runtime::App& a = app();
    const auto& env = a.service<platform::Environment>();
    const std::string check = platform::joinPath(env.programFolder(), "check.exe");
    if (platform::fileExists(check))
        // Designed: the helper's start is not waited for or checked.
        std::ignore = a.service<platform::Shell>().start(check, "", platform::StyleHidden);
    qied.setText(kTileMusic);
    music::Form1& music = a.get<music::Form1>();
    fitToChild(music.height());
    music.move(left(), top() + common::kChildOffset);
    music.show(false, this);
    applyStartupSkin();

    Image2.move(5, 5, Image2.width(), Image2.height());
    Label2.move(Image2.left() + Image2.width() + 5, 5, Label2.width(), Label2.height());
    const std::string site = a.service<platform::Config>().get("maker_site");
    Label2.setCaption("Zelvora影音管理  " + site);
    Label5.move(858, 5, Label5.width(), Label5.height());
    Label4.move(893, 5, Label4.width(), Label4.height());
    Label3.move(928, 5, Label3.width(), Label3.height());
    for (runtime::Label* b : { &Label3, &Label4, &Label5 })
        b->setBackStyle(runtime::Transparent);
    setUpdateLine(kUpdateIdle);
    setTileLooks(&Label6);
}

void moban::applyStartupSkin()
{
    runtime::App& a = app();
    const common::SkinLines s = common::skinLines(a);
    Text3.setText(s.colour);
    Text4.setText(s.picture);
    Form4& updater = a.get<Form4>();
    if (s.mode == common::kModePlain) {
        clearPicture();
        a.get<settings::setz>().clearPicture();
        common::setSettingsLabelsTransparent(a, false);
        Label3.setBackStyle(runtime::Opaque);
        updater.Label1.setBackStyle(runtime::Opaque);
        const int64_t colour = common::colourValue(Text3.text());
        updater.setBackColor(colour);
        updater.Label1.setBackColor(colour);
        setBackColor(colour);
    } else if (s.mode == common::kModePicture) {
        a.get<settings::setz>().setPicture(runtime::loadPicture(Text4.text()));
        common::setSettingsLabelsTransparent(a, true);
        Label3.setBackStyle(runtime::Transparent);
        updater.Label1.setBackStyle(runtime::Transparent);
        Image3.setPicture(runtime::loadPicture(Text4.text()));
        common::paintSkinPicture(*this, Image3.picture());
        // Under the picture, and instead of a picture that cannot be read, the colour shows.
        setBackColor(common::colourValue(Text3.text()));
        updater.setPicture(runtime::loadPicture(Text4.text()));
    }
}

} // namespace shell
