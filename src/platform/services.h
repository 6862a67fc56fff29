#pragma once
// Puts the platform services of this machine into an app.
#include <memory>
#include <string>

namespace rt {
class App;
}

namespace platform {

class Config;

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
void installServices(rt::App& app, std::shared_ptr<Config> config, const ServiceOptions& options);

} // namespace platform
