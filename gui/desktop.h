#pragma once
// The Qt desktop front end.
#include <functional>
#include <string>
#include <vector>

#include "gui/session.h"

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
};

class SingleInstance;

// Every hand-over that reaches instance opens its files in the session's program (through
// openFiles) and brings the hub to the front.
void acceptHandOvers(SingleInstance& instance, Session& session,
    std::function<void(runtime::App&, const std::vector<std::string>&)> openFiles);

// Runs the desktop program until it ends; returns the process exit status. When the program
// already runs for this user, hands the files to it instead and returns 0 at once.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

} // namespace gui
