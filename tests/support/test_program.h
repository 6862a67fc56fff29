#pragma once
// The whole program in a test: a temporary user profile, scripted dialogs, a recording shell
// and tray, a virtual clock, and every window registered.
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/recording_shell.h"
#include "platform/tray.h"
#include "runtime/app.h"
#include "support/temp_dir.h"

namespace testing_support {

// Remembers the menus popped up and whether the program ended.
class RecordingHost : public runtime::Host {
public:
    void popupMenu(runtime::Form& form, runtime::Menu& menu) override;
    void programEnded() override { ended = true; }
    std::optional<runtime::Host::ScreenPlace> pointerPlace() const override { return pointer; }
    std::vector<std::string> popups;
    std::optional<runtime::Host::ScreenPlace> pointer;
    bool ended = false;
};

class TestProgram {
public:
    TestProgram();
    ~TestProgram();

    // Starts the program as the desktop does.
    void start();
    // A path under the user profile ("my documents/zelv/skin/ini.db").
    std::string profilePath(const std::string& relative) const;
    // The data folder's file ("skin/ini.db", "Temp/mpath.ini").
    std::string dataFile(const std::string& relative) const;
    // The texts of the message boxes shown since the last call.
    std::vector<std::string> messages();

    TempDir dir;
    std::shared_ptr<platform::FixedEnvironment> env;
    std::shared_ptr<platform::Config> config;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    std::shared_ptr<platform::RecordingShell> shell;
    std::shared_ptr<platform::RecordingTray> tray;
    std::shared_ptr<platform::MemoryClipboard> clipboard;
    RecordingHost host;
    runtime::App app;
};

} // namespace testing_support
