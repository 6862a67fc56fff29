#include "toolbox/toolbox_window.h"

#include "common/chrome.h"
#include "common/data_folders.h"
#include "common/feature_window.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/network_jobs.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "toolbox/runner_window.h"

namespace toolbox {

namespace {

const char* const kSpeedMissing = "系统加速 是Zelvora安装版才具有的功能，您当前的版本是绿色版，不支持此功能，"
                                  "请到官网下载安装版，是否前往官网？";
const char* const kLspMissing
    = "LSP自动修复 是Zelvora安装版才具有的功能，您当前的版本是绿色版，不支持此功能，"
      "请到官网下载安装版，是否前往官网？";
const char* const kFirewall
    = "软件检测到您安装了360防火墙，请先关闭防火墙，否则加速会失败，本程序已经自动结束加速进程";
const char* const kTitle = "Zelvora";
const char* const kRestoreQuestion = "检测到上次加速前的DNS设置，是否恢复原DNS？";

struct Tile {
    runtime::Image tool::*image;
    const char* picture;
    const char* tip;
};

// The tiles in a three by three grid, in the order of their names.
const Tile kTiles[] = {
    { &tool::Image2, "pictures/ui/tool_chat.png", "QQ聊天" },
    { &tool::Image3, "pictures/ui/tool_ip.png", "IP查询" },
    { &tool::Image4, "pictures/ui/tool_weather.png", "天气预报" },
    { &tool::Image5, "pictures/ui/tool_astro.png", "星座运势" },
    { &tool::Image6, "pictures/ui/tool_speed.png", "系统加速" },
    { &tool::Image7, "pictures/ui/tool_wifi.png", "WiFi热点" },
    { &tool::Image8, "pictures/ui/tool_lsp.png", "LSP修复" },
    { &tool::Image9, "pictures/ui/tool_broadband.png", "宽带加速" },
    { &tool::Image10, "pictures/ui/tool_meitu.png", "美图秀秀" },
};

constexpr int kTileSize = 80;
constexpr int kGridLeft = 240;
constexpr int kGridTop = 100;
constexpr int kColumnStep = 200;
constexpr int kRowStep = 170;

} // namespace

bool CheckApplicationIsRun(runtime::App& app, const std::string& szExeFileName)
{
    if (!app.hasService<platform::Processes>())
        return false;
    const std::string wanted = vb::UCase(szExeFileName);
    for (const platform::ProcessInfo& p : app.service<platform::Processes>().list()) {
        // Designed: the description is looked for inside the name, not the name inside the
        // description, so "SAFE.EXE" counts as "360Safe.exe".
        // Sound: a process without a description matches nothing (an empty text occurs in
        // every name).
        if (!p.description.empty() && vb::InStr(wanted, vb::UCase(p.description)) > 0)
            return true;
    }
    return false;
}

tool::tool(runtime::App& app)
    : runtime::Form(app, "tool")
{
    common::setupFeatureWindow(*this, "工具箱");
    for (runtime::TextBox* hidden : { &Text3, &Text4 })
        hidden->setVisible(false);
    int index = 0;
    for (const Tile& t : kTiles) {
        runtime::Image& tile = this->*t.image;
        // Three tiles a row, filled left to right.
        const int column = index % 3;
        const int row = index / 3;
        tile.move(kGridLeft + column * kColumnStep, kGridTop + row * kRowStep, kTileSize, kTileSize);
        tile.setPicture(common::resourcePicture(t.picture));
        tile.setToolTipText(t.tip);
        tile.onMouseMove = [this, &tile](const runtime::MouseEvent&) { Image_MouseMove(tile); };
        ++index;
    }
    Image2.onClick = [this] { Image2_Click(); };
    Image3.onClick = [this] { Image3_Click(); };
    Image4.onClick = [this] { Image4_Click(); };
    Image5.onClick = [this] { Image5_Click(); };
    Image6.onClick = [this] { Image6_Click(); };
    Image7.onClick = [this] { Image7_Click(); };
    Image8.onClick = [this] { Image8_Click(); };
    Image9.onClick = [this] { Image9_Click(); };
    Image10.onClick = [this] { Image10_Click(); };
    Timer5.onTimer = [this] { Timer5_Timer(); };
    onMouseDown = [this](const runtime::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const runtime::MouseEvent& e) { Form_MouseUp(e); };
}

std::vector<runtime::Image*> tool::tiles()
{
    std::vector<runtime::Image*> all;
    for (const Tile& t : kTiles)
        all.push_back(&(this->*t.image));
    return all;
}

common::SkinnedWindow tool::skin()
{
    common::SkinnedWindow w { *this, Text3, Text4, {} };
    w.styleUpdater = true;
    w.recreatesFile = true;
    return w;
}

void tool::load()
{
    common::ApplySkinOnLoad(skin());
}

void tool::Timer5_Timer()
{
    common::RefreshSkin(skin(), Timer5);
}

bool tool::CheckApplicationIsRun(const std::string& szExeFileName)
{
    return toolbox::CheckApplicationIsRun(app(), szExeFileName);
}

void tool::OpenToolWindow(const std::string& mode)
{
    tooldiao& runner = app().get<tooldiao>();
    runner.qie.setText(mode);
    runner.show(true, this);
}

void tool::openLocalTool(const char* program, const char* mode, const char* missingText)
{
    runtime::App& a = app();
    if (platform::fileExists(common::dataPaths(a).tool + program)
        || platform::folderExists(common::dataPaths(a).tool + program)) {
        OpenToolWindow(mode);
        return;
    }
    platform::MessageBoxRequest ask;
    ask.text = missingText;
    ask.title = kTitle;
    ask.buttons = platform::YesNo;
    // The desktop's browser reports its own trouble.
    if (a.service<platform::Dialogs>().messageBox(ask) == platform::AnswerYes)
        std::ignore = a.service<platform::Shell>().open(a.service<platform::Config>().get("maker_site"),
            a.service<platform::Environment>().programFolder());
}

void tool::Image2_Click()
{
    OpenToolWindow(kModeChat);
}

void tool::Image3_Click()
{
    OpenToolWindow(kModeIp);
}

void tool::Image4_Click()
{
    OpenToolWindow(kModeWeather);
}

void tool::Image5_Click()
{
    OpenToolWindow(kModeAstro);
}

void tool::Image6_Click()
{
    openLocalTool("speed.exe", kModeSpeed, kSpeedMissing);
}

void tool::Image7_Click()
{
    OpenToolWindow(kModeWifi);
}

void tool::Image8_Click()
{
    openLocalTool("lsp.exe", kModeLsp, kLspMissing);
}

void tool::Image9_Click()
{
    // Sound: with the DNS settings of an earlier tune-up on record, the person is first asked
    // whether to put them back, which needs no new tune-up.
    runtime::App& a = app();
    if (!platform::readDnsRecords({ common::dataPaths(a).tool, common::codePage(a) }).empty()) {
        platform::MessageBoxRequest ask;
        ask.text = kRestoreQuestion;
        ask.title = kTitle;
        ask.buttons = platform::YesNo;
        if (a.service<platform::Dialogs>().messageBox(ask) == platform::AnswerYes) {
            OpenToolWindow(kModeRestoreDns);
            return;
        }
    }
    // Both processes are always looked for.
    const bool safe = CheckApplicationIsRun("360Safe.exe");
    const bool tray = CheckApplicationIsRun("360Tray.exe");
    if (!safe && !tray) {
        OpenToolWindow(kModeTuneUp);
        return;
    }
    platform::MessageBoxRequest refuse;
    refuse.text = kFirewall;
    refuse.title = kTitle;
    app().service<platform::Dialogs>().messageBox(refuse);
}

void tool::Image10_Click()
{
    OpenToolWindow(kModeMeitu);
}

void tool::Image_MouseMove(runtime::Image& tile)
{
    tile.setBorderStyle(1);
}

void tool::Form_MouseDown(const runtime::MouseEvent& e)
{
    common::chrome::beginDrag(*this, e);
}

void tool::Form_MouseMove(const runtime::MouseEvent& e)
{
    for (runtime::Image* tile : tiles())
        tile->setBorderStyle(0);
    common::chrome::dragMove(*this, e);
}

void tool::Form_MouseUp(const runtime::MouseEvent&)
{
    common::chrome::endDrag(*this);
}

} // namespace toolbox
