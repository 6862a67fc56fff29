#include "shell/updater_window.h"

#include <algorithm>

#include "common/file_download.h"
#include "music/music_window.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/network.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "traymenu/tray_window.h"
#include "video/harvest_window.h"

namespace shell {

namespace {

// The new version is a program file: bounded like the program's other own downloads, with
// room for its size and a slow line.
constexpr long kProgramDownloadSeconds = 30L * 60;
constexpr long long kProgramDownloadBytes = 512LL * 1024 * 1024;
constexpr int kBarSquares = 10;

void tell(runtime::App& app, const std::string& text)
{
    platform::MessageBoxRequest box;
    box.text = text;
    box.icon = platform::Information;
    app.service<platform::Dialogs>().messageBox(box);
}

// The configured cache folder, else the one the environment knows (the front end's cache).
std::string browserCacheFolder(const runtime::App& app)
{
    std::string configured = app.service<platform::Config>().get("browser_cache");
    if (!configured.empty())
        return configured;
    return app.service<platform::Environment>().browserCacheFolder();
}

} // namespace

Form4::Form4(runtime::App& app)
    : runtime::Form(app, "Form4")
{
    setCaption("Zelvora升级");
    setOwnChrome(true);
    setWidth(6000);
    setHeight(3600);
    Label1.setCaption("升级进程准备就绪...");
    Label1.setAlignment(runtime::AlignCenter);
    Label1.move(240, 600, 5520, 420);
    Command1.setCaption("开始升级");
    Command1.move(2160, 2520, 1680, 480);
    Command2.setCaption("秒杀歌曲");
    Command2.move(1080, 2520, 1680, 480);
    Command3.setCaption("不想下了");
    Command3.move(3240, 2520, 1680, 480);
    Text1.setVisible(false);
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Command3.onClick = [this] { Command3_Click(); };
}

Form4::~Form4() = default;

void Form4::load()
{
    // Centred on the online music window, the window that opens it.
    const music::Form1& music = app().get<music::Form1>();
    move(music.left() + music.width() / 2 - width() / 2, music.top() + music.height() / 2 - height() / 2);
    Text1.setText(browserCacheFolder(app()));
    Timer1.start(1);
}

void Form4::Timer1_Timer()
{
    // Only the opener's harvest prompt keeps the harvest buttons.
    if (Label1.caption() != kHarvestPromptText) {
        Command2.setVisible(false);
        Command3.setVisible(false);
    }
    Timer1.setEnabled(false);
}

void Form4::Command1_Click()
{
    Command1.setEnabled(false);
    Command1.setCaption("正在升级...");
    runtime::App& a = app();
    const std::string version = a.get<traymenu::Form6>().xin.text();
    const std::string target = platform::joinPath(
        a.service<platform::Environment>().desktopFolder(), "Zelvora" + version + ".exe");
    // Sound: the desktop file is replaced only by a complete download, never by a partial
    // one, and the download is bounded in time and size.
    const bool done = common::downloadInto(oDownload, a,
        a.service<platform::Config>().get("update_server") + "/zelv.dll", target,
        std::bind_front(&Form4::oDownload_OnProgress, this), kProgramDownloadSeconds, kProgramDownloadBytes);
    tell(a, done ? "更新成功，版本号" + version : "更新失败，您刚刚断网了");
}

void Form4::oDownload_OnProgress(
    int64_t lProgress, int64_t lMaxProgress, int32_t, int32_t, const std::string&)
{
    if (lProgress == 0 || lMaxProgress == 0)
        return;
    // A server that sends more than it announced still fills the bar only once.
    const auto q = static_cast<float>(static_cast<double>(std::min(lProgress, lMaxProgress))
        / static_cast<double>(lMaxProgress) * kBarSquares);
    Label1.setCaption(common::progressMarks(q, kBarSquares));
    // The percentage in whole tens, rounded down.
    Command1.setCaption("正在升级" + vb::Str(static_cast<int64_t>(q) * 10) + "%");
}

void Form4::Command2_Click()
{
    Label1.setCaption("正在为您执行下载...");
    Command2.setEnabled(false);
    Command3.setEnabled(false);
    Command2.setCaption("正在计算大小");
    Command3.setCaption("正在计算数目");
    // Loading the harvest window runs the harvest; it reports on this window's buttons.
    video::Form7& harvest = app().get<video::Form7>();
    harvest.setHeight(0);
    harvest.setWidth(0);
    app().unload<video::Form7>();
    Timer2.start(1000);
}

void Form4::Timer2_Timer()
{
    // A harvest that could not run or found no song leaves the window to its close button.
    if (Command3.caption() == kHarvestClose)
        Timer2.setEnabled(false);
    if (Command2.caption() != kHarvestDone)
        return;
    Command2.setCaption("自动关闭");
    Timer2.setEnabled(false);
    app().unload<Form4>();
}

void Form4::Command3_Click()
{
    app().unload<Form4>();
}

void Form4::unloading()
{
    // Sound: closed by the window manager instead of "不想下了", the window would leave the
    // harvest button disabled for good.
    if (music::Form1* music = app().find<music::Form1>())
        music->Command1.setEnabled(true);
}

} // namespace shell
