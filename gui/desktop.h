#pragma once
// The Qt desktop front end.
#include <string>

namespace gui {

struct DesktopOptions {
    std::string profile; // --profile DIR
    std::string configFile; // --config FILE
};

// Runs the desktop program until it ends; returns the process exit status.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

} // namespace gui
