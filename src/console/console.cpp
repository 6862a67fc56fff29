#include "console/console.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "assembly/program.h"
#include "assembly/services.h"
#include "console/session.h"
#include "platform/config.h"
#include "platform/result.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace console {

namespace {

// Exit status for a configuration, profile or script the console cannot use.
constexpr int kUnusable = 2;
// A script is a list of commands; a bigger file is not one.
constexpr size_t kMaxScriptBytes = size_t { 64 } * 1024 * 1024;

// The configuration: the named file over the defaults, or the defaults alone. Lines that are
// not key=value are reported on the error stream and skipped; an unreadable file is an error.
platform::Result<std::shared_ptr<platform::Config>> readConfig(const std::string& named)
{
    using Read = platform::Result<std::shared_ptr<platform::Config>>;
    auto config = std::make_shared<platform::Config>();
    const std::string file = named.empty() ? platform::Config::fileFromEnvironment() : named;
    if (file.empty())
        return Read::success(std::move(config));
    if (platform::probeFile(file) != platform::ReadOutcome::Read)
        return Read::failure("cannot read the configuration file " + file);
    if (const platform::Status s = config->loadFile(file); !s)
        std::cerr << "zelvora: " << s.error << '\n';
    return Read::success(std::move(config));
}

// The profile folder named on the command line, created when missing and made absolute: the
// program stores full paths (skin picture, playlists), which must not depend on the folder
// the console was started from.
platform::Result<std::string> prepareProfile(const std::string& profile)
{
    using Folder = platform::Result<std::string>;
    if (profile.empty())
        return Folder::success(profile);
    std::error_code ec;
    std::filesystem::create_directories(profile, ec);
    if (!std::filesystem::is_directory(profile, ec))
        return Folder::failure("cannot use the profile folder " + profile);
    const auto absolute = std::filesystem::absolute(profile, ec);
    return Folder::success(ec ? profile : absolute.lexically_normal().string());
}

} // namespace

int runConsole(const ConsoleOptions& options, std::istream& in, std::ostream& out)
{
    auto config = readConfig(options.configFile);
    if (!config) {
        out << "error: " << config.error() << '\n';
        return kUnusable;
    }
    auto profile = prepareProfile(options.profile);
    if (!profile) {
        out << "error: " << profile.error() << '\n';
        return kUnusable;
    }
    // The script is read whole before the program starts: a folder, a FIFO or an endless
    // device is refused at once instead of reading as an empty or never-ending script.
    std::istringstream script;
    if (!options.scriptFile.empty()) {
        auto bytes = platform::readFile(options.scriptFile, kMaxScriptBytes);
        if (!bytes) {
            out << "error: cannot read the script " << options.scriptFile << '\n';
            return kUnusable;
        }
        script.str(std::move(*bytes));
    }
    std::istream& commands = options.scriptFile.empty() ? in : script;

    runtime::App app;
    assembly::ServiceOptions services;
    services.profile = *profile;
    services.headless = true;
    assembly::installServices(app, *config, services);
    if (const std::string problem = assembly::prepareProfile(app); !problem.empty()) {
        out << "error: cannot use the profile: " << problem << '\n';
        return kUnusable;
    }

    Session session(app, out);
    assembly::registerWindows(app);
    assembly::startProgram(app);
    // Work the start-up handed to the pump runs before the first command, as on the desktop.
    app.runDue();
    if (session.reportEnd())
        return session.exitStatus();
    return session.run(commands);
}

} // namespace console
