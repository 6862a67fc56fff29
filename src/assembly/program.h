#pragma once
// Assembling and starting the program, the same for the desktop and the headless console.
#include <memory>
#include <string>

namespace runtime {
class App;
}
namespace platform {
class Config;
class FileLock;
} // namespace platform

namespace assembly {

// Registers every window of the program under its name.
void registerWindows(runtime::App& app);
// Starts the program as the desktop does: loads the hub (its start-up sequence loads the
// online music window and the tray window) and shows it.
void startProgram(runtime::App& app);

// The desktop program's services: this machine's, with the desktop's shell; the front end puts
// its dialogs, clipboard and tray on top.
void installDesktopServices(
    runtime::App& app, const std::string& profile, std::shared_ptr<platform::Config> config);
// Registers every window and starts the program (registerWindows, then startProgram).
void launchProgram(runtime::App& app);
// Makes the app's profile folder when missing; why it may not hold this user's files ("" when
// it may: Environment::profileProblem).
std::string prepareProfile(runtime::App& app);
// Locks the app's data folder for this program (a lock file in it, made with the profile and
// data folders); a profile that is not safe for this user's files is refused, with the reason.
std::unique_ptr<platform::FileLock> lockProfile(runtime::App& app);
// Ends the program as the tray's quit does after its question (the desktop asks it to end).
void endProgram(runtime::App& app);

} // namespace assembly
