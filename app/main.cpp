// zelvora: the desktop program, or with --headless the automation console.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "console/console.h"
#ifdef ZELVORA_WITH_GUI
#include "assembly/open_files.h"
#include "assembly/program.h"
#endif
#ifdef ZELVORA_WITH_GUI
#include "gui/desktop.h"
#endif

namespace {

int usage(const char* why)
{
    std::fprintf(stderr,
        "zelvora: %s\n"
        "usage: zelvora [--profile DIR] [--config FILE] [--platform NAME] [FILE...]\n"
        "       zelvora --headless [--profile DIR] [--config FILE] [--script FILE]\n"
        "       zelvora --version\n",
        why);
    return 2;
}

// What the command line asks for.
struct CommandLine {
    bool headless = false;
    console::ConsoleOptions options;
    // Media files to open, as a file manager's "open with" passes them.
    std::vector<std::string> files;
};

// The answer of readArgument when the program goes on to the next argument.
constexpr int kGoOn = -1;

// The value after the option at i, moving i onto it; false when there is none.
bool takeValue(int argc, char** argv, int& i, std::string& into)
{
    if (i + 1 >= argc || argv[i + 1][0] == '\0')
        return false;
    into = argv[++i];
    return true;
}

// A file named on the command line, made absolute; as given when that fails.
std::string absoluteFile(const std::string& arg)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(arg, ec);
    return ec ? arg : absolute.lexically_normal().string();
}

// Reads the argument at i (and its value); kGoOn, or the code the program exits with.
int readArgument(int argc, char** argv, int& i, CommandLine& line)
{
    const std::string arg = argv[i];
    if (arg == "--headless") {
        line.headless = true;
    } else if (arg == "--profile") {
        if (!takeValue(argc, argv, i, line.options.profile))
            return usage("--profile needs a folder");
    } else if (arg == "--config") {
        if (!takeValue(argc, argv, i, line.options.configFile))
            return usage("--config needs a file");
    } else if (arg == "--script") {
        if (!takeValue(argc, argv, i, line.options.scriptFile))
            return usage("--script needs a file");
    } else if (arg == "--platform" || arg == "-platform") {
        // The display platform the person chose (wayland, xcb): Qt reads it from the
        // same arguments.
        std::string platform;
        if (!takeValue(argc, argv, i, platform))
            return usage("--platform needs a name");
    } else if (arg == "--help" || arg == "-h") {
        usage("options");
        return 0;
    } else if (arg == "--version") {
        std::printf("zelvora %s\n", ZELVORA_VERSION);
        return 0;
    } else if (!arg.empty() && arg[0] != '-') {
        line.files.push_back(absoluteFile(arg));
    } else {
        return usage(("unknown argument " + arg).c_str());
    }
    return kGoOn;
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const int exitCode = readArgument(argc, argv, i, line);
        if (exitCode != kGoOn)
            return exitCode;
    }
    const console::ConsoleOptions& options = line.options;
    if (line.headless && !line.files.empty())
        return usage("files to open go to the desktop program, not the console");
    if (line.headless)
        return console::runConsole(options, std::cin, std::cout);
    if (!options.scriptFile.empty())
        return usage("--script needs --headless");
#ifdef ZELVORA_WITH_GUI
    return gui::runDesktop(argc, argv,
        { options.profile, options.configFile, assembly::installDesktopServices, assembly::launchProgram,
            line.files, assembly::openFiles, assembly::lockProfile, assembly::endProgram });
#else
    return usage("this build has no desktop front end; use --headless");
#endif
}
