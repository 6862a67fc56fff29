#include "settings/settings_window.h"

#include "common/chrome.h"
#include "common/data_folders.h"
#include "common/skin.h"
#include "music/music_window.h"
#include "platform/dialogs.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "shell/hub_window.h"
#include "traymenu/tray_window.h"

namespace settings {

namespace {
const char* const kTitle = "选项设置";
constexpr int kFrame1Left = 2040;
constexpr int kFrame1Top = 480;
constexpr int kFrame2Left = 2040;
constexpr int kFrame2Top = 3240;
constexpr int64_t kCloseHover = 0x8080FF;
const char* const kNotSaved = "设置没有保存成功，请确认设置文件夹可以写入后再试";
} // namespace

setz::setz(runtime::App& app)
    : runtime::Form(app, "setz")
{
    designLayout();
    wireEvents();
}

void setz::designLayout()
{
    setCaption(kTitle);
    setOwnChrome(true);
    setWidth(7800);
    setHeight(6600);
    Label1.setCaption(kTitle);
    Label1.setFontBold(true);
    Label1.move(0, 0, 7800, 420);
    Label2.setCaption("");
    Label2.setBackStyle(runtime::Transparent);
    Label2.move(0, 2040, 1980, 4560);
    Label3.setCaption("×");
    Label3.setAlignment(runtime::AlignCenter);
    Label3.move(7380, 0, 420, 420);
    Label4.setCaption("背景设置");
    Label4.setAlignment(runtime::AlignCenter);
    Label4.move(120, 600, 1800, 420);
    Label12.setCaption("纯色背景：");
    Label12.move(120, 1200, 1500, 300);
    Option1.move(1620, 1200, 300, 300);
    Label13.setCaption("图片+纯色背景：");
    Label13.move(120, 1620, 1500, 300);
    Option2.move(1620, 1620, 300, 300);

    Frame1.setCaption("");
    Frame1.move(kFrame1Left, kFrame1Top, 5640, 2640);
    const struct {
        runtime::Label* name;
        const char* caption;
        runtime::HScrollBar* slider;
        runtime::TextBox* value;
    } rows[] = { { &Label5, "红", &HScroll1, &Text2 }, { &Label6, "绿", &HScroll2, &Text3 },
        { &Label7, "蓝", &HScroll3, &Text4 } };
    int top = 360;
    for (const auto& r : rows) {
        for (runtime::Control* c : { static_cast<runtime::Control*>(r.name),
                 static_cast<runtime::Control*>(r.slider), static_cast<runtime::Control*>(r.value) })
            c->setContainer(&Frame1);
        r.name->setCaption(r.caption);
        r.name->move(120, top, 360, 300);
        r.slider->setRange(0, 255);
        r.slider->move(480, top, 3000, 255);
        r.value->setText("0");
        r.value->move(3600, top, 720, 300);
        top += 480;
    }
    Label8.setContainer(&Frame1);
    Label8.setCaption("");
    Label8.setBorderStyle(1);
    Label8.move(4440, 360, 1080, 1200);
    Text5.setContainer(&Frame1);
    Text5.setText(common::kDefaultColour);
    // The swatch shows the colour of the value beside it.
    Label8.setBackColor(common::kDefaultColourValue);
    Text5.move(4440, 1680, 1080, 300);

    Frame2.setCaption("图片背景设置");
    Frame2.move(kFrame2Left, kFrame2Top, 5640, 2400);
    for (runtime::Control* c :
        { static_cast<runtime::Control*>(&Label9), static_cast<runtime::Control*>(&Label10),
            static_cast<runtime::Control*>(&Text6), static_cast<runtime::Control*>(&Label11) })
        c->setContainer(&Frame2);
    Label9.setCaption("本地图片：");
    Label9.move(120, 420, 1200, 300);
    Label10.setCaption("拖放图片");
    Label10.setAlignment(runtime::AlignCenter);
    Label10.setBorderStyle(1);
    Label10.move(1440, 300, 1800, 600);
    Text6.setText("将本地图片拖到右边“拖放图片”上，再点击下面的应用");
    Text6.move(120, 1080, 5400, 300);
    Label11.setCaption("注：如果图片尺寸过大或过小，主程序背景将再下次启动时自动调节");
    Label11.move(120, 1560, 5400, 600);

    qie.setText("chun");
    qie.setVisible(false);
    Command1.setCaption("应用");
    Command1.move(2640, 5880, 1200, 420);
    Command2.setCaption("取消");
    Command2.move(3960, 5880, 1200, 420);
    Command3.setCaption("还原默认");
    Command3.move(5280, 5880, 1200, 420);
}

void setz::wireEvents()
{
    Option1.onClick = [this] { Option1_Click(); };
    Option2.onClick = [this] { Option2_Click(); };
    HScroll1.onChange = [this] { HScroll1_Change(); };
    HScroll2.onChange = [this] { HScroll2_Change(); };
    HScroll3.onChange = [this] { HScroll3_Change(); };
    Text5.onChange = [this] { Text5_Change(); };
    Text6.onChange = [this] { Text6_Change(); };
    Label10.onDragDrop = [this](const std::vector<std::string>& files) { Label10_DragDrop(files); };
    bg.onTimer = [this] { bg_Timer(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Label3.onClick = [this] { Label3_Click(); };
    Label3.onMouseMove = [this](const runtime::MouseEvent& e) { Label3_MouseMove(e); };
    Label4.onClick = [this] { Label4_Click(); };
    // The window drags by its background, its title and its labels Label2 and Label4; only
    // the background and the title also take back the close button's hover look.
    onMouseDown = [this](const runtime::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const runtime::MouseEvent& e) { Form_MouseUp(e); };
    Label1.onMouseMove = onMouseMove;
    for (runtime::Label* surface : { &Label1, &Label2, &Label4 }) {
        surface->onMouseDown = onMouseDown;
        surface->onMouseUp = onMouseUp;
    }
    for (runtime::Label* surface : { &Label2, &Label4 })
        surface->onMouseMove = [this](const runtime::MouseEvent& e) { common::chrome::dragMove(*this, e); };
}

void setz::placeFrames()
{
    Frame1.setLeft(kFrame1Left);
    Frame1.setTop(kFrame1Top);
    Frame2.setLeft(kFrame2Left);
    Frame2.setTop(kFrame2Top);
}

void setz::load()
{
    runtime::App& a = app();
    centreOverHub();
    Label1.move(0, 0, width(), Label1.height());
    placeFrames();
    for (runtime::HScrollBar* slider : { &HScroll1, &HScroll2, &HScroll3 })
        slider->setRange(0, 255);
    common::EnsureDataFolders(a);
    common::LoadSkinSettings(a);
    // Sound: the window shows the live mode, the one on screen and the one "应用" saves. It is
    // the saved mode unless a mode was chosen and the window then cancelled; showing the file's
    // mode then would select one mode and save the other.
    // Showing the mode is not choosing it: the skin timers stay idle.
    m_choosingAtLoad = true;
    if (a.get<traymenu::Form6>().Text4.text() == common::kModePlain)
        Option1.setValue(true);
    else
        Option2.setValue(true);
    m_choosingAtLoad = false;
}

void setz::centreOverHub()
{
    const shell::moban& hub = app().get<shell::moban>();
    move(hub.left() + hub.width() / 2 - width() / 2, hub.top() + hub.height() / 2 - height() / 2);
}

std::string setz::appliedColour() const
{
    return std::to_string(common::colourValue(Text5.text()));
}

void setz::showMessage(const std::string& text)
{
    platform::MessageBoxRequest message;
    message.text = text;
    message.title = "系统提示";
    message.icon = platform::Information;
    app().service<platform::Dialogs>().messageBox(message);
}

void setz::Command1_Click()
{
    runtime::App& a = app();
    common::EnsureDataFolders(a);
    traymenu::Form6& tray = a.get<traymenu::Form6>();
    // Sound: the sliders start at the designed colour, not the saved one; applying a mode
    // or a picture keeps the saved colour unless the colour was changed in this opening.
    tray.ini1.setText(m_colourChosen ? appliedColour() : common::skinLines(a).colour);
    tray.ini3.setText(tray.Text4.text());
    const platform::Status written = common::WriteSkinSettings(
        a, tray.ini1.text(), common::dataPaths(a).zelvJpg, tray.ini3.text(), true);
    shareColour(tray.ini1.text());
    // The title keeps its "not applied" mark when the file could not be written.
    if (!written) {
        showMessage(kNotSaved);
        return;
    }
    Label1.setCaption(kTitle);
}

void setz::shareColour(const std::string& colour)
{
    runtime::App& a = app();
    if (music::Form1* music = a.find<music::Form1>())
        music->Text3.setText(colour);
    if (player::Form5* player = a.find<player::Form5>())
        player->Text8.setText(colour);
}

void setz::Command3_Click()
{
    runtime::App& a = app();
    common::EnsureDataFolders(a);
    traymenu::Form6& tray = a.get<traymenu::Form6>();
    const std::string colour = appliedColour();
    if (!common::WriteSkinSettings(a, colour, tray.ini2.text(), tray.ini3.text(), false)) {
        showMessage(kNotSaved);
        return;
    }
    // Sound: the restored colour takes effect at once, on screen and in the cache that a
    // later "应用" keeps when no colour was chosen, so the replaced colour never comes back.
    common::LoadSkinSettings(a);
    tray.ini1.setText(colour);
    tray.Text3.setText(colour);
    shareColour(colour);
    previewColour();
    Label1.setCaption(kTitle);
}

void setz::Command2_Click()
{
    app().unload<setz>();
}

void setz::Label3_Click()
{
    app().unload<setz>();
}

void setz::Label3_MouseMove(const runtime::MouseEvent&)
{
    Label3.setBackStyle(runtime::Opaque);
    Label3.setBackColor(kCloseHover);
}

void setz::Label4_Click()
{
    placeFrames();
}

void setz::Form_MouseDown(const runtime::MouseEvent& e)
{
    common::chrome::beginDrag(*this, e);
}

void setz::Form_MouseMove(const runtime::MouseEvent& e)
{
    Label3.setBackColor(common::colourValue(Text5.text()));
    common::chrome::dragMove(*this, e);
}

void setz::Form_MouseUp(const runtime::MouseEvent&)
{
    common::chrome::endDrag(*this);
}

} // namespace settings
