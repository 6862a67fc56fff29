#pragma once
// The headless automation console: drives the real program from line commands.
#include <istream>
#include <ostream>
#include <string>

namespace console {

struct ConsoleOptions {
    std::string profile; // --profile DIR (empty: the real profile)
    std::string configFile; // --config FILE (empty: ZELVORA_CONFIG or the defaults)
    std::string scriptFile; // --script FILE (empty: standard input)
};

// Starts the program headless and runs the commands of the script file, or of in when no
// script is named. Returns the exit status: 0 when every expect held and no command failed,
// 1 otherwise, 2 when the configuration, the profile or the script cannot be used.
int runConsole(const ConsoleOptions& options, std::istream& in, std::ostream& out);

} // namespace console
