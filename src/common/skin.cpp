#include "common/skin.h"

#include "common/data_folders.h"
#include "common/skin_peers.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace common {

namespace {

const char* const kNotice1
    = "本文件为Zelvora系统设置文件，切勿修改里面前三行内容，否则将导致软件不能正常使用";
const char* const kNotice2
    = "如果您不慎修改此文件内容导致软件不能使用，请直接删除此文件，然后再运行Zelvora，软件即可自动恢复";

bool isNumber(const std::string& text)
{
    return vb::tryLong(text).has_value()
        && vb::Trim(text).find_first_not_of("0123456789-+ ") == std::string::npos;
}

SkinPeers& peers(runtime::App& app)
{
    return app.service<SkinPeers>();
}

} // namespace

void LoadSkinSettings(runtime::App& app)
{
    runtime::ListBox& cache = peers(app).cacheLines();
    cache.clear();
    // No settings file yet, or one that cannot be read: no lines, and the skin's defaults apply.
    cache.setItems(platform::readLines(dataPaths(app).iniDb, codePage(app)).valueOr({}));
}

SkinLines skinLines(runtime::App& app)
{
    const runtime::ListBox& cache = peers(app).cacheLines();
    SkinLines s;
    s.colour = cache.list(0);
    s.picture = cache.list(1);
    s.mode = cache.list(2);
    // Sound: a damaged colour line falls back to the default colour instead of breaking the skin.
    if (!isNumber(s.colour))
        s.colour = kDefaultColour;
    if (cache.listCount() < 2)
        s.picture = dataPaths(app).zelvJpg;
    if (cache.listCount() < 3)
        s.mode = kModePicture;
    return s;
}

platform::Status WriteSkinSettings(runtime::App& app, const std::string& colour, const std::string& picture,
    const std::string& mode, bool notices)
{
    std::vector<std::string> lines { colour, picture, mode };
    if (notices) {
        lines.emplace_back(kNotice1);
        lines.emplace_back(kNotice2);
    }
    return platform::writeLines(dataPaths(app).iniDb, lines, codePage(app));
}

int64_t colourValue(const std::string& text)
{
    return isNumber(text) ? vb::toLong(text) : kDefaultColourValue;
}

void paintSkinPicture(runtime::Form& window, const runtime::Picture& picture)
{
    const int hubHeight = peers(window.app()).hubHeight();
    // Destination in the window's own units: its inner width, the hub's height in pixels.
    const double unitsWide = window.scaleWidth();
    const double unitsHigh = static_cast<double>(hubHeight) / runtime::kTwipsPerPixel;
    const double toPixels = static_cast<double>(window.twipsPerUnit()) / runtime::kTwipsPerPixel;
    window.paintPicture(
        picture, static_cast<int>(unitsWide * toPixels), static_cast<int>(unitsHigh * toPixels));
}

void setSettingsLabelsTransparent(runtime::App& app, bool transparent)
{
    const int style = transparent ? runtime::Transparent : runtime::Opaque;
    for (runtime::Label* l : peers(app).settingsLabels())
        l->setBackStyle(style);
}

void styleUpdaterWindow(
    runtime::App& app, const std::string& mode, const std::string& colour, const std::string& picture)
{
    runtime::Form& updater = peers(app).updaterWindow();
    runtime::Label& status = peers(app).updaterStatus();
    if (mode == kModePlain) {
        status.setBackStyle(runtime::Opaque);
        updater.setBackColor(colourValue(colour));
        status.setBackColor(colourValue(colour));
    } else if (mode == kModePicture) {
        updater.setPicture(runtime::loadPicture(picture));
        status.setBackStyle(runtime::Transparent);
    }
}

void ApplySkinOnLoad(const SkinnedWindow& w)
{
    runtime::App& app = w.window.app();
    EnsureDataFolders(app);
    LoadSkinSettings(app);
    const SkinLines s = skinLines(app);
    w.colourField.setText(s.colour);
    w.pictureField.setText(s.picture);
    if (w.refreshesCache) {
        const auto cache = peers(app).cacheFields();
        cache[0]->setText(s.colour);
        cache[1]->setText(s.picture);
        cache[2]->setText(s.mode);
    }
    const int64_t colour = colourValue(s.colour);
    auto colourAccents = [&] {
        for (runtime::Control* c : w.accents)
            c->setBackColor(colour);
        if (w.paintsOwnBackground)
            w.window.setBackColor(colour);
    };
    if (s.mode == kModePlain) {
        w.window.clearPicture();
        peers(app).settingsWindow().clearPicture();
        setSettingsLabelsTransparent(app, false);
        colourAccents();
    } else if (s.mode == kModePicture) {
        runtime::Image& skinPicture = w.ownPicture ? *w.ownPicture : peers(app).hubPicture();
        skinPicture.setPicture(runtime::loadPicture(dataPaths(app).zelvJpg));
        paintSkinPicture(w.window, skinPicture.picture());
        peers(app).settingsWindow().setPicture(runtime::loadPicture(w.pictureField.text()));
        setSettingsLabelsTransparent(app, true);
        colourAccents();
    }
    if (w.styleUpdater)
        styleUpdaterWindow(app, s.mode, s.colour, w.pictureField.text());
}

void RefreshSkin(const SkinnedWindow& w, runtime::Timer& timer)
{
    runtime::App& app = w.window.app();
    EnsureDataFolders(app);
    const std::string mode = peers(app).appliedMode().text();
    if (mode == kModePicture) {
        if (w.recreatesFile) {
            if (!platform::fileExists(dataPaths(app).iniDb)) {
                const auto cache = peers(app).cacheFields();
                // Read straight back below: a file that could not be written gives the defaults.
                std::ignore
                    = WriteSkinSettings(app, cache[0]->text(), cache[1]->text(), cache[2]->text(), false);
            }
            LoadSkinSettings(app);
            w.pictureField.setText(skinLines(app).picture);
        }
        peers(app).settingsWindow().setPicture(runtime::loadPicture(w.pictureField.text()));
        setSettingsLabelsTransparent(app, true);
        runtime::Image& hubPicture = peers(app).hubPicture();
        hubPicture.setPicture(runtime::loadPicture(dataPaths(app).zelvJpg));
        paintSkinPicture(w.window, hubPicture.picture());
    } else if (mode == kModePlain) {
        w.window.clearPicture();
        peers(app).settingsWindow().clearPicture();
        setSettingsLabelsTransparent(app, false);
    }
    if (w.extraRefresh)
        w.extraRefresh();
    timer.setEnabled(false);
}

} // namespace common
