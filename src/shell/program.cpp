#include "shell/program.h"

#include "music/music_window.h"
#include "music/page_store.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"
#include "video/video_window.h"
#include "video/web_play_window.h"

namespace shell {

using namespace zelvora;

void registerWindows(rt::App& app)
{
    app.registerWindow<moban>("moban");
    app.registerWindow<Form1>("Form1");
    app.registerWindow<Form2>("Form2");
    app.registerWindow<Form4>("Form4");
    app.registerWindow<Form5>("Form5");
    app.registerWindow<Form6>("Form6");
    app.registerWindow<setz>("setz");
    app.registerWindow<tool>("tool");
    app.registerWindow<play>("play");
    app.registerWindow<music>("music");
}

void startProgram(rt::App& app)
{
    app.dispatch([&app] { app.get<moban>().show(); });
}

} // namespace shell
