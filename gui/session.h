#pragma once
// The desktop program's assembly: the app with the desktop's services and engines, the host
// that runs its timers on Qt's event loop, and the views of its windows.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace runtime {
class App;
class MediaPlayer;
} // namespace runtime
namespace platform {
class Config;
}

namespace gui {

class MpvMediaEngine;
class Renderer;
class QtHost;
class QtTray;
class WebModule;

struct SessionOptions {
    // The user profile folder; empty means the real one.
    std::string profile;
    // The configuration (addresses and settings); the built-in defaults when null.
    std::shared_ptr<platform::Config> config;
    // Puts this machine's services into the app (profile and configuration as above); the
    // session then adds the desktop's dialogs, clipboard, tray and engines.
    std::function<void(runtime::App&, const std::string&, std::shared_ptr<platform::Config>)> installServices;
    // Registers the program's windows and starts it.
    std::function<void(runtime::App&)> start;
};

class Session {
public:
    explicit Session(const SessionOptions& options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    runtime::App& app() const { return *m_app; }
    Renderer& renderer() const { return *m_renderer; }
    // The host of the app on Qt's event loop.
    QtHost& host() const { return *m_host; }
    // The Qt WebEngine module behind the browsers a person sees (loaded at the first page).
    WebModule& webModule() const { return *m_web; }

    // The engine this session made for a media control, while it lives (nullptr before the
    // control has one and after it has gone).
    MpvMediaEngine* mediaEngineOf(const runtime::MediaPlayer& player) const;
    // Called by an engine as it starts and as it ends, so the session knows which is whose.
    void enrolMediaEngine(const runtime::MediaPlayer& player, MpvMediaEngine& engine);
    void forgetMediaEngine(const runtime::MediaPlayer& player, const MpvMediaEngine& engine);

    // Registers the program's windows and starts it: the hub appears with its child.
    void startProgram();
    // Runs work that comes from the desktop (an input event, a timer tick, an engine report)
    // and brings the views up to date afterwards. Does nothing once the program has ended.
    void run(const std::function<void()>& work);
    // Brings the views up to date with the windows.
    void sync();
    // Called after every update of the views (the desktop's player widgets follow it).
    std::function<void()> onSynced;
    // Called when the program ends itself (the desktop program leaves Qt's event loop).
    std::function<void()> onProgramEnded;

private:
    void installDesktopServices();
    void installEngines();

    std::function<void(runtime::App&)> m_start;
    std::unique_ptr<runtime::App> m_app;
    std::unique_ptr<WebModule> m_web;
    std::unique_ptr<Renderer> m_renderer;
    std::unique_ptr<QtHost> m_host;
    std::shared_ptr<QtTray> m_tray;
    std::unordered_map<const runtime::MediaPlayer*, MpvMediaEngine*> m_mediaEngines;
};

} // namespace gui
