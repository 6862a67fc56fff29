#pragma once
// The Qt desktop front end.
#include <string>

#include "gui/session.h"

namespace gui {

struct DesktopOptions {
    std::string profile; // --profile DIR
    std::string configFile; // --config FILE
    // The program to run (see SessionOptions).
    decltype(SessionOptions::installServices) installServices;
    decltype(SessionOptions::start) start;
};

// Runs the desktop program until it ends; returns the process exit status.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

} // namespace gui
