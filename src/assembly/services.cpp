#include "assembly/services.h"

#include <utility>

#include "platform/clipboard.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/headless_browser.h"
#include "platform/notices.h"
#include "platform/posix/child_process.h"
#include "platform/posix/curl_network.h"
#include "platform/posix/nmcli_jobs.h"
#include "platform/posix/posix_environment.h"
#include "platform/posix/posix_services.h"
#include "platform/recording_shell.h"
#include "platform/tray.h"
#include "runtime/app.h"

namespace assembly {

using namespace platform;

void installServices(runtime::App& app, std::shared_ptr<Config> config, const ServiceOptions& options)
{
    auto env = std::make_shared<PosixEnvironment>(
        options.profile, config->get("codepage"), config->get("browser_cache"));
    app.provide<Environment>(env);
    app.provide<Config>(std::move(config));
    if (options.headless) {
        auto shell = std::make_shared<RecordingShell>();
        app.provide<RecordingShell>(shell);
        app.provide<Shell>(shell);
    } else {
        app.provide<Shell>(std::make_shared<PosixShell>());
    }
    auto dialogs = std::make_shared<ScriptedDialogs>();
    app.provide<ScriptedDialogs>(dialogs);
    app.provide<Dialogs>(dialogs);
    app.provide<Clipboard>(std::make_shared<MemoryClipboard>());
    app.provide<Processes>(std::make_shared<PosixProcesses>());
    app.provide<Drives>(std::make_shared<PosixDrives>());
    app.provide<Commands>(std::make_shared<PosixCommands>());
    app.provide<Notices>(std::make_shared<Notices>());
    // The front end replaces the tray with the desktop's notification area.
    auto tray = std::make_shared<RecordingTray>();
    app.provide<RecordingTray>(tray);
    app.provide<TrayIcon>(tray);
    app.provide<NetworkJobs>(std::make_shared<NmcliJobs>(env->browserCacheFolder(), env->userProfile()));
    auto network = std::make_shared<CurlNetwork>();
    app.provide<Network>(network);
    // Every browser is headless until the front end wraps the factory for visible ones.
    app.setBrowserFactory(headlessBrowserFactory(app, network, env->codePage()));
}

} // namespace assembly
