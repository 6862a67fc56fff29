#include "shell/skin.h"

#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"
#include "shell/data_folders.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "traymenu/tray_window.h"

namespace zelvora {

namespace {

const char* const kNotice1
    = "本文件为Zelvora系统设置文件，切勿修改里面前三行内容，否则将导致软件不能正常使用";
const char* const kNotice2
    = "如果您不慎修改此文件内容导致软件不能使用，请直接删除此文件，然后再运行Zelvora，软件即可自动恢复";

bool isNumber(const std::string& text)
{
    bool ok = false;
    vb::toLong(text, &ok);
    return ok && vb::Trim(text).find_first_not_of("0123456789-+ ") == std::string::npos;
}

} // namespace

void LoadSkinSettings(rt::App& app)
{
    Form6& tray = app.get<Form6>();
    tray.List1.clear();
    bool ok = false;
    auto lines = platform::readLines(shell::dataPaths(app).iniDb, shell::codePage(app), &ok);
    tray.List1.setItems(std::move(lines));
}

SkinLines skinLines(rt::App& app)
{
    const Form6& tray = app.get<Form6>();
    SkinLines s;
    s.colour = tray.List1.list(0);
    s.picture = tray.List1.list(1);
    s.mode = tray.List1.list(2);
    if (!isNumber(s.colour))
        s.colour = kDefaultColour;
    if (tray.List1.listCount() < 2)
        s.picture = shell::dataPaths(app).zelvJpg;
    if (tray.List1.listCount() < 3)
        s.mode = kModePicture;
    return s;
}

platform::Status WriteSkinSettings(rt::App& app, const std::string& colour, const std::string& picture,
    const std::string& mode, bool notices)
{
    std::vector<std::string> lines { colour, picture, mode };
    if (notices) {
        lines.emplace_back(kNotice1);
        lines.emplace_back(kNotice2);
    }
    return platform::writeLines(shell::dataPaths(app).iniDb, lines, shell::codePage(app));
}

int64_t colourValue(const std::string& text)
{
    return isNumber(text) ? vb::toLong(text) : kDefaultColourValue;
}

void paintSkinPicture(rt::Form& window, const rt::Picture& picture)
{
    const int hubHeight = window.app().get<moban>().height();
    // Destination in the window's own units: its inner width, the hub's height / 15.
    const double unitsWide = window.scaleWidth();
    const double unitsHigh = hubHeight / 15.0;
    const double toPixels = static_cast<double>(window.twipsPerUnit()) / rt::kTwipsPerPixel;
    window.paintPicture(
        picture, static_cast<int>(unitsWide * toPixels), static_cast<int>(unitsHigh * toPixels));
}

void setSettingsLabelsTransparent(rt::App& app, bool transparent)
{
    setz& settings = app.get<setz>();
    const int style = transparent ? rt::Transparent : rt::Opaque;
    for (rt::Label* l : { &settings.Label1, &settings.Label2, &settings.Label3 })
        l->setBackStyle(style);
}

void styleUpdaterWindow(
    rt::App& app, const std::string& mode, const std::string& colour, const std::string& picture)
{
    Form4& updater = app.get<Form4>();
    if (mode == kModePlain) {
        updater.Label1.setBackStyle(rt::Opaque);
        updater.setBackColor(colourValue(colour));
        updater.Label1.setBackColor(colourValue(colour));
    } else if (mode == kModePicture) {
        updater.setPicture(rt::loadPicture(picture));
        updater.Label1.setBackStyle(rt::Transparent);
    }
}

void ApplySkinOnLoad(const SkinnedWindow& w)
{
    rt::App& app = w.window.app();
    shell::EnsureDataFolders(app);
    LoadSkinSettings(app);
    const SkinLines s = skinLines(app);
    w.colourField.setText(s.colour);
    w.pictureField.setText(s.picture);
    if (w.refreshesCache) {
        Form6& tray = app.get<Form6>();
        tray.ini1.setText(s.colour);
        tray.ini2.setText(s.picture);
        tray.ini3.setText(s.mode);
    }
    const int64_t colour = colourValue(s.colour);
    auto colourAccents = [&] {
        for (rt::Control* c : w.accents)
            c->setBackColor(colour);
        if (w.paintsOwnBackground)
            w.window.setBackColor(colour);
    };
    if (s.mode == kModePlain) {
        w.window.clearPicture();
        app.get<setz>().clearPicture();
        setSettingsLabelsTransparent(app, false);
        colourAccents();
    } else if (s.mode == kModePicture) {
        moban& hub = app.get<moban>();
        hub.Image3.setPicture(rt::loadPicture(shell::dataPaths(app).zelvJpg));
        paintSkinPicture(w.window, hub.Image3.picture());
        app.get<setz>().setPicture(rt::loadPicture(w.pictureField.text()));
        setSettingsLabelsTransparent(app, true);
        colourAccents();
    }
    if (w.styleUpdater)
        styleUpdaterWindow(app, s.mode, s.colour, w.pictureField.text());
}

void RefreshSkin(const SkinnedWindow& w, rt::Timer& timer)
{
    rt::App& app = w.window.app();
    shell::EnsureDataFolders(app);
    Form6& tray = app.get<Form6>();
    const std::string mode = tray.Text4.text();
    if (mode == kModePicture) {
        if (w.recreatesFile) {
            if (!platform::fileExists(shell::dataPaths(app).iniDb))
                WriteSkinSettings(app, tray.ini1.text(), tray.ini2.text(), tray.ini3.text(), false);
            LoadSkinSettings(app);
            w.pictureField.setText(skinLines(app).picture);
        }
        app.get<setz>().setPicture(rt::loadPicture(w.pictureField.text()));
        setSettingsLabelsTransparent(app, true);
        moban& hub = app.get<moban>();
        hub.Image3.setPicture(rt::loadPicture(shell::dataPaths(app).zelvJpg));
        paintSkinPicture(w.window, hub.Image3.picture());
    } else if (mode == kModePlain) {
        w.window.clearPicture();
        app.get<setz>().clearPicture();
        setSettingsLabelsTransparent(app, false);
    }
    if (w.extraRefresh)
        w.extraRefresh();
    timer.setEnabled(false);
}

} // namespace zelvora
