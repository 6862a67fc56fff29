#pragma once
// The Qt desktop front end.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/session.h"
#include "platform/single_user.h"

namespace gui {

struct DesktopOptions {
    std::string profile; // --profile DIR
    std::string configFile; // --config FILE
    // The program to run (see SessionOptions).
    decltype(SessionOptions::installServices) installServices;
    decltype(SessionOptions::start) start;
    // Files to open (absolute paths from the command line), and how the program opens them.
    std::vector<std::string> files;
    std::function<void(runtime::App&, const std::vector<std::string>&)> openFiles;
    // Locks the profile of the app's services for this program.
    std::function<std::unique_ptr<platform::FileLock>(runtime::App&)> lockProfile;
    // How the program ends when the desktop asks it to (logout, SIGTERM, SIGHUP).
    std::function<void(runtime::App&)> endProgram;
};

class SingleInstance;

// Brings the hub and the windows it owns to the front, as a second start asks.
void bringHubToFront(Session& session);

// Every hand-over that reaches instance opens its files in the session's program (through
// openFiles) and brings the hub to the front. False when the program cannot listen for them.
bool acceptHandOvers(SingleInstance& instance, Session& session,
    std::function<void(runtime::App&, const std::vector<std::string>&)> openFiles);

// Runs the desktop program until it ends; returns the process exit status. When the program
// already runs for this user, hands the files to it instead and returns 0 at once; when
// another program holds the profile without taking the files, says so and returns 3.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

} // namespace gui
