#include "support/test_program.h"

#include <filesystem>

#include "assembly/program.h"
#include "platform/drives.h"
#include "platform/posix/child_process.h"
#include "platform/processes.h"
#include "runtime/controls.h"

namespace testing_support {

namespace {

class NoProcesses : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> list() const override { return {}; }
};

class NoDrives : public platform::Drives {
public:
    std::vector<platform::Volume> volumes() const override { return {}; }
};

} // namespace

void RecordingHost::popupMenu(runtime::Form& form, runtime::Menu& menu)
{
    popups.push_back(form.name() + "." + menu.name());
}

TestProgram::TestProgram()
{
    app.setHost(&host);
    const std::string profile = (dir.path() / "profile").string();
    const std::string program = (dir.path() / "program").string();
    std::filesystem::create_directories(profile);
    std::filesystem::create_directories(program);
    env = std::make_shared<platform::FixedEnvironment>(profile, program, "UTF-8");
    config = std::make_shared<platform::Config>();
    dialogs = std::make_shared<platform::ScriptedDialogs>();
    shell = std::make_shared<platform::RecordingShell>();
    tray = std::make_shared<platform::RecordingTray>();
    clipboard = std::make_shared<platform::MemoryClipboard>();
    app.provide<platform::Environment>(env);
    app.provide<platform::Config>(config);
    app.provide<platform::Dialogs>(dialogs);
    app.provide<platform::ScriptedDialogs>(dialogs);
    app.provide<platform::Shell>(shell);
    app.provide<platform::RecordingShell>(shell);
    app.provide<platform::TrayIcon>(tray);
    app.provide<platform::RecordingTray>(tray);
    app.provide<platform::Clipboard>(clipboard);
    app.provide<platform::Processes>(std::make_shared<NoProcesses>());
    app.provide<platform::Drives>(std::make_shared<NoDrives>());
    app.provide<platform::Commands>(std::make_shared<platform::PosixCommands>());
    assembly::registerWindows(app);
}

TestProgram::~TestProgram() = default;

void TestProgram::start()
{
    assembly::startProgram(app);
}

std::string TestProgram::profilePath(const std::string& relative) const
{
    return platform::joinPath(env->userProfile(), relative);
}

std::string TestProgram::dataFile(const std::string& relative) const
{
    return profilePath("my documents/zelv/" + relative);
}

std::vector<std::string> TestProgram::messages()
{
    std::vector<std::string> texts;
    for (const auto& m : dialogs->takeMessages())
        texts.push_back(m.request.text);
    return texts;
}

} // namespace testing_support
