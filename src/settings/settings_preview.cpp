// The settings window's live choices: the mode options and the skin timers they start, the
// colour sliders, the picture drop and the preview of both in the open windows.
#include <algorithm>

#include "common/data_folders.h"
#include "common/skin.h"
#include "music/music_window.h"
#include "platform/textfile.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"
#include "video/video_window.h"

namespace settings {

namespace {

// At and above this colour value the player's list text stays dark; below it turns white.
constexpr int64_t kDarkTextThreshold = 10488064;
constexpr int64_t kButtonTextColour = 0x80000012;
constexpr int64_t kWhite = 0xFFFFFF;

const char* const kNotAPicture = "这个文件不是可以使用的图片，背景图片没有更换";
const char* const kNotCopied = "背景图片没有保存成功，请确认设置文件夹可以写入后再试";

int64_t rgb(int red, int green, int blue)
{
    return red + green * 256 + blue * 65536;
}

// A colour channel typed into a value box: a whole number clamped to 0..255, or the
// slider's own value when the box holds no number.
int channel(const runtime::TextBox& typed, int sliderValue)
{
    const auto v = vb::tryLong(typed.text());
    if (!v)
        return sliderValue;
    return static_cast<int>(std::clamp<int64_t>(*v, 0, 255));
}

// Runs f on window T only when it is loaded: choices reach the open windows, and a window
// opened later wears the skin from its own load.
template <class T, class F> void ifLoaded(runtime::App& app, F&& f)
{
    if (T* w = app.find<T>())
        f(*w);
}

// A newly set background picture replaces what was stretched over the window.
void showBackground(runtime::Form& window, const runtime::Picture& picture)
{
    window.clearPicture();
    window.setPicture(picture);
}

} // namespace

bool isBackgroundPictureName(const std::string& path)
{
    const std::string three = vb::UCase(vb::Right(path, 3));
    return three == "JPG" || three == "GIF" || three == "BMP" || vb::UCase(vb::Right(path, 4)) == "JPEG";
}

void setz::Option1_Click()
{
    if (m_choosingAtLoad)
        return;
    runtime::App& a = app();
    a.get<traymenu::Form6>().Text4.setText(common::kModePlain);
    ifLoaded<music::Form1>(a, [](runtime::Form& w) { w.clearPicture(); });
    ifLoaded<player::Form5>(a, [](runtime::Form& w) { w.clearPicture(); });
    ifLoaded<shell::moban>(a, [](runtime::Form& w) { w.clearPicture(); });
    clearPicture();
    ifLoaded<toolbox::tool>(a, [](runtime::Form& w) { w.clearPicture(); });
    ifLoaded<music::Form1>(a, [](music::Form1& w) { w.Timer5.start(1); });
    ifLoaded<video::Form2>(a, [](video::Form2& w) { w.Timer5.start(1); });
}

void setz::Option2_Click()
{
    if (m_choosingAtLoad)
        return;
    runtime::App& a = app();
    a.get<traymenu::Form6>().Text4.setText(common::kModePicture);
    ifLoaded<music::Form1>(a, [](music::Form1& w) { w.Timer5.start(1); });
    ifLoaded<player::Form5>(a, [](player::Form5& w) { w.Timer5.start(1); });
    ifLoaded<video::Form2>(a, [](video::Form2& w) { w.Timer5.start(1); });
    ifLoaded<toolbox::tool>(a, [](toolbox::tool& w) { w.Timer5.start(1); });
    ifLoaded<shell::moban>(a, [](shell::moban& w) { w.Timer1.start(1); });
}

void setz::sliderMoved(const runtime::HScrollBar& slider, runtime::TextBox& valueText)
{
    m_red = HScroll1.value();
    m_green = HScroll2.value();
    m_blue = HScroll3.value();
    valueText.setText(vb::Str(slider.value()));
    Label8.setBackColor(rgb(m_red, m_green, m_blue));
    Text5.setText(vb::Str(rgb(channel(Text2, m_red), channel(Text3, m_green), channel(Text4, m_blue))));
}

void setz::HScroll1_Change()
{
    sliderMoved(HScroll1, Text2);
}

void setz::HScroll2_Change()
{
    sliderMoved(HScroll2, Text3);
}

void setz::HScroll3_Change()
{
    sliderMoved(HScroll3, Text4);
}

void setz::Text5_Change()
{
    m_colourChosen = true;
    qie.setText("chun");
    bg.start(1);
}

void setz::Text6_Change()
{
    qie.setText("tu");
    bg.start(1);
}

void setz::Label10_DragDrop(const std::vector<std::string>& files)
{
    if (files.empty())
        return;
    const std::string& path = files.front();
    Text6.setText(path);
    if (!isBackgroundPictureName(path)) {
        showMessage("背景图案图片仅支持gif、jpg、jpeg、bmp格式图片，不支持" + vb::UCase(vb::Right(path, 3))
            + "格式图片");
        return;
    }
    // The name is not enough: only a file that reads as a picture may replace the skin's.
    if (runtime::loadPicture(path).empty()) {
        showMessage(kNotAPicture);
        return;
    }
    runtime::App& a = app();
    common::EnsureDataFolders(a);
    if (!platform::copyFile(path, common::dataPaths(a).zelvJpg))
        showMessage(kNotCopied);
}

void setz::previewColour()
{
    runtime::App& a = app();
    const int64_t colour = common::colourValue(Text5.text());
    Label1.setCaption("*选项设置*");
    Label1.setBackColor(colour);
    Label3.setBackColor(colour);
    ifLoaded<music::Form1>(a, [colour](music::Form1& w) {
        w.setBackColor(colour);
        w.Text5.setBackColor(colour);
    });
    ifLoaded<player::Form5>(a, [colour](player::Form5& w) {
        if (colour >= kDarkTextThreshold) {
            w.List1.setForeColor(kButtonTextColour);
        } else {
            for (runtime::ListBox* list : { &w.List1, &w.List4, &w.List6 })
                list->setForeColor(kWhite);
        }
        w.setBackColor(colour);
        for (runtime::ListBox* list : { &w.List1, &w.List4, &w.List6 })
            list->setBackColor(colour);
    });
    ifLoaded<shell::moban>(a, [colour](shell::moban& w) { w.setBackColor(colour); });
}

void setz::previewPicture()
{
    runtime::App& a = app();
    common::EnsureDataFolders(a);
    const runtime::Picture picture = runtime::loadPicture(common::dataPaths(a).zelvJpg);
    setPicture(picture);
    Label1.setBackStyle(runtime::Transparent);
    Label3.setBackStyle(runtime::Transparent);
    ifLoaded<music::Form1>(a, [&picture](runtime::Form& w) { showBackground(w, picture); });
    ifLoaded<player::Form5>(a, [&picture](runtime::Form& w) { showBackground(w, picture); });
    ifLoaded<shell::moban>(a, [&picture](runtime::Form& w) { showBackground(w, picture); });
    const int64_t colour = common::colourValue(Text5.text());
    ifLoaded<player::Form5>(a, [colour](player::Form5& w) { w.List1.setBackColor(colour); });
}

void setz::bg_Timer()
{
    if (qie.text() == "chun")
        previewColour();
    else if (qie.text() == "tu")
        previewPicture();
    bg.setEnabled(false);
}

} // namespace settings
