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

} // namespace

int main(int argc, char** argv)
{
    bool headless = false;
    console::ConsoleOptions options;
    // Media files to open, as a file manager's "open with" passes them.
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return false;
            into = argv[++i];
            return true;
        };
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--profile") {
            if (!value(options.profile))
                return usage("--profile needs a folder");
        } else if (arg == "--config") {
            if (!value(options.configFile))
                return usage("--config needs a file");
        } else if (arg == "--script") {
            if (!value(options.scriptFile))
                return usage("--script needs a file");
        } else if (arg == "--platform" || arg == "-platform") {
            // The display platform the person chose (wayland, xcb): Qt reads it from the
            // same arguments.
            std::string platform;
            if (!value(platform))
                return usage("--platform needs a name");
        } else if (arg == "--help" || arg == "-h") {
            usage("options");
            return 0;
        } else if (arg == "--version") {
            std::printf("zelvora %s\n", ZELVORA_VERSION);
            return 0;
        } else if (!arg.empty() && arg[0] != '-') {
            std::error_code ec;
            const auto absolute = std::filesystem::absolute(arg, ec);
            files.push_back(ec ? arg : absolute.lexically_normal().string());
        } else {
            return usage(("unknown argument " + arg).c_str());
        }
    }
    if (headless && !files.empty())
        return usage("files to open go to the desktop program, not the console");
    if (headless)
        return console::runConsole(options, std::cin, std::cout);
    if (!options.scriptFile.empty())
        return usage("--script needs --headless");
#ifdef ZELVORA_WITH_GUI
    return gui::runDesktop(argc, argv,
        { options.profile, options.configFile, assembly::installDesktopServices, assembly::launchProgram,
            files, assembly::openFiles, assembly::lockProfile, assembly::endProgram });
#else
    return usage("this build has no desktop front end; use --headless");
#endif
}
