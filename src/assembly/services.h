#pragma once
// Puts the platform services of this machine into an app.
#include <memory>
#include <string>

namespace runtime {
class App;
}

namespace platform {
class Config;
}

namespace assembly {

struct ServiceOptions {
    // The user profile folder; empty means the real one.
    std::string profile;
    // Headless: scripted dialogs, a recording shell and a memory clipboard instead of the
    // desktop's.
    bool headless = false;
};

// Provides Config, Environment, Shell, Processes, Drives, Dialogs, Clipboard, TrayIcon and
// Network, and makes the headless browser the engine of every browser (the front end wraps
// that factory through app.browserFactory() for the browsers a person sees).
// The front end replaces Dialogs and Clipboard with its own afterwards.
void installServices(
    runtime::App& app, std::shared_ptr<platform::Config> config, const ServiceOptions& options);

} // namespace assembly
