#include "assembly/program.h"

#include <filesystem>

#include "assembly/media_remote.h"
#include "assembly/services.h"
#include "assembly/window_skin_peers.h"
#include "common/data_folders.h"
#include "common/stale_files.h"
#include "desklyrics/desk_lyrics_window.h"
#include "desklyrics/unlock_bar.h"
#include "downloads/list_window.h"
#include "music/music_window.h"
#include "music/page_store.h"
#include "music/site_list_window.h"
#include "platform/environment.h"
#include "platform/single_user.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "toolbox/runner_window.h"
#include "toolbox/toolbox_window.h"
#include "traymenu/tray_window.h"
#include "video/clipboard_offer.h"
#include "video/harvest_window.h"
#include "video/search_window.h"
#include "video/split_window.h"
#include "video/video_window.h"
#include "video/web_list_window.h"
#include "video/web_play_window.h"

namespace assembly {

void registerWindows(runtime::App& app)
{
    provideSkinPeers(app);
    app.registerWindow<shell::moban>("moban");
    app.registerWindow<music::Form1>("Form1");
    app.registerWindow<video::Form2>("Form2");
    app.registerWindow<shell::Form4>("Form4");
    app.registerWindow<player::Form5>("Form5");
    app.registerWindow<traymenu::Form6>("Form6");
    app.registerWindow<settings::setz>("setz");
    app.registerWindow<toolbox::tool>("tool");
    app.registerWindow<toolbox::tooldiao>("tooldiao");
    app.registerWindow<video::play>("play");
    app.registerWindow<video::search>("search");
    app.registerWindow<music::music>("music");
    app.registerWindow<video::Form7>("Form7");
    app.registerWindow<desklyrics::geci>("geci");
    app.registerWindow<desklyrics::jiesuolan>("jiesuolan");
    app.registerWindow<video::fenge>("fenge");
    app.registerWindow<music::Form3>("Form3");
    app.registerWindow<downloads::xiazai>("xiazai");
    app.registerWindow<downloads::xiazaiqi>("xiazaiqi");
    app.registerWindow<video::heji>("heji");
    app.registerWindow<video::jiantie>("jiantie");
}

void startProgram(runtime::App& app)
{
    // Before any window reads its files: commits a crash cut short are finished, and what
    // killed runs left behind is removed.
    common::removeStaleTemporaries(app);
    toolbox::removeSecretFiles(app);
    downloads::resumeDownloads(app);
    video::watchClipboard(app);
    app.dispatch([&app] { app.get<shell::moban>().show(); });
}

void installDesktopServices(
    runtime::App& app, const std::string& profile, std::shared_ptr<platform::Config> config)
{
    installServices(app, std::move(config), { profile, false });
    provideMediaRemote(app);
}

std::string prepareProfile(runtime::App& app)
{
    // A profile named for the first time is made here (the lock file needs its folders); one
    // that is not safe for this user's files, or no home at all, is refused before anything
    // is written into it.
    const auto& env = app.service<platform::Environment>();
    std::error_code ec;
    if (!env.userProfile().empty())
        std::filesystem::create_directories(env.userProfile(), ec);
    return env.profileProblem();
}

std::unique_ptr<platform::FileLock> lockProfile(runtime::App& app)
{
    if (const std::string problem = prepareProfile(app); !problem.empty())
        return std::make_unique<platform::FileLock>(std::string(), problem);
    common::EnsureDataFolders(app);
    return std::make_unique<platform::FileLock>(common::dataPaths(app).root + ".lock");
}

void launchProgram(runtime::App& app)
{
    registerWindows(app);
    startProgram(app);
}

void endProgram(runtime::App& app)
{
    app.get<traymenu::Form6>().exitProgram();
}

} // namespace assembly
