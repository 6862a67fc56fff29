#include "shell/updater_window.h"

#include "music/music_window.h"
#include "platform/config.h"
#include "platform/environment.h"
#include "runtime/app.h"

namespace shell {

namespace {

// The configured cache folder, else the one the environment knows (the front end's cache).
std::string browserCacheFolder(const runtime::App& app)
{
    const std::string configured = app.service<platform::Config>().get("browser_cache");
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
    Command3.onClick = [this] { Command3_Click(); };
}

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

void Form4::Command3_Click()
{
    app().get<music::Form1>().Command1.setEnabled(true);
    app().unload<Form4>();
}

} // namespace shell
