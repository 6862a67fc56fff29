#pragma once
// The app: the registry of loaded windows, the platform services, the timers and the pump.
// Everything runs on one thread; other threads hand work to it through post().
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "runtime/clock.h"
#include "runtime/form.h"

namespace runtime {

class Timer;
class WebBrowser;
class MediaPlayer;
class BrowserEngine;
class MediaEngine;
class Menu;

// What the program's host (the Qt front end, the console, a test) does for the app.
class Host {
public:
    virtual ~Host() = default;
    // Runs the host's pending user-interface events (part of doEvents).
    virtual void pumpEvents() { }
    // Called before each timer tick on a virtual clock (the console settles page loads here).
    virtual void beforeTick() { }
    // Shows a popup menu of a window at the mouse position.
    virtual void popupMenu(Form& form, Menu& menu);
    // The program ended itself.
    virtual void programEnded() { }
    // The timer schedule changed (the real-time host re-arms its wake-up).
    virtual void timersChanged() { }
    // A window is being unloaded; it is still alive but leaves forms() now (renderers drop
    // their view of it here, before the instance is destroyed).
    virtual void formUnloaded(Form&) { }
    // Work was handed over with post(); called on the posting thread, so a real-time host
    // wakes its UI thread to run it.
    virtual void workPosted() { }
    // A place on the screen in twips, as windows are placed.
    struct ScreenPlace {
        int x = 0;
        int y = 0;
    };
    // Where the mouse pointer is, where the host knows it: a window that lets clicks through
    // gets no mouse events and asks here instead.
    [[nodiscard]] virtual std::optional<ScreenPlace> pointerPlace() const { return std::nullopt; }
};

// Knows how to load a window by its name, for hosts that address windows by name.
struct WindowEntry {
    std::string name;
    std::function<Form&(App&)> load;
    std::function<Form*(App&)> find;
};

class App {
public:
    // A virtual clock is used when none is given.
    explicit App(std::unique_ptr<Clock> clock = nullptr);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The live instance of window T, created and loaded (hidden) on first use.
    template <class T> T& get()
    {
        auto it = m_forms.find(std::type_index(typeid(T)));
        if (it != m_forms.end())
            return static_cast<T&>(*it->second);
        auto form = std::make_unique<T>(*this);
        T& ref = *form;
        adopt(std::type_index(typeid(T)), std::move(form));
        return ref;
    }
    // The live instance of T, or nullptr when not loaded (never loads).
    template <class T> T* find() const
    {
        auto it = m_forms.find(std::type_index(typeid(T)));
        return it == m_forms.end() ? nullptr : static_cast<T*>(it->second.get());
    }
    template <class T> bool isLoaded() const { return find<T>() != nullptr; }
    // Runs T's unload, hides it and retires the instance; the next get builds a fresh one.
    template <class T> void unload()
    {
        if (T* f = find<T>())
            unload(*f);
    }
    void unload(Form& form);

    // Registers window T under its name so hosts can address it by name.
    template <class T> void registerWindow(const std::string& name)
    {
        m_windows.push_back({ name, [](App& a) -> Form& { return a.get<T>(); },
            [](App& a) -> Form* { return a.find<T>(); } });
    }
    const std::vector<WindowEntry>& windows() const { return m_windows; }
    // The registered window entry with this name, or nullptr.
    const WindowEntry* windowEntry(const std::string& name) const;
    // The loaded window with this name, or nullptr.
    Form* loadedForm(const std::string& name) const;
    // Loaded windows in the order they were loaded.
    std::vector<Form*> forms() const;

    // Platform services, looked up by type.
    template <class S> void provide(std::shared_ptr<S> service)
    {
        m_services[std::type_index(typeid(S))] = std::move(service);
    }
    template <class S> S& service() const
    {
        auto it = m_services.find(std::type_index(typeid(S)));
        if (it == m_services.end())
            missingService(typeid(S).name());
        return *static_cast<S*>(it->second.get());
    }
    template <class S> bool hasService() const { return m_services.count(std::type_index(typeid(S))) != 0; }

    // Engines for engine-backed controls; recording engines when no factory is set.
    void setBrowserFactory(std::function<std::unique_ptr<BrowserEngine>(WebBrowser&)> f);
    void setMediaFactory(std::function<std::unique_ptr<MediaEngine>(MediaPlayer&)> f);
    std::unique_ptr<BrowserEngine> createBrowserEngine(WebBrowser& browser);
    // The browser factory in use (empty when none), so a front end can wrap it.
    const std::function<std::unique_ptr<BrowserEngine>(WebBrowser&)>& browserFactory() const
    {
        return m_browserFactory;
    }
    std::unique_ptr<MediaEngine> createMediaEngine(MediaPlayer& player);

    Clock& clock() const { return *m_clock; }
    int64_t now() const { return m_clock->nowMs(); }
    // On a virtual clock: moves time forward by ms, firing due timers in order.
    void advance(int64_t ms);
    // Fires the timers due at the current time (and work posted from other threads).
    void runDue();
    // On a virtual clock: advances until no timer is enabled, at most maxMs. True when idle.
    bool runUntilIdle(int64_t maxMs = 60000);
    // Milliseconds until the next timer is due (0 when overdue), or nothing when none.
    std::optional<int64_t> nextDueIn() const;
    // Lets timers, posted work and the host's pending events run, then returns.
    void doEvents();
    // Runs an event handler from the host; retired windows are destroyed afterwards when
    // control is back at the top level.
    void dispatch(const std::function<void()>& handler);
    // Hands work to the UI thread; safe from any thread.
    void post(std::function<void()> work);
    // Runs the work posted so far (and what that work posts), without firing timers.
    void runPosted();

    // Ends the program: the host stops after the current handler.
    void end();
    bool ended() const { return m_ended; }

    Host& host() const { return *m_host; }
    // The host is not owned; nullptr restores the default that does nothing.
    void setHost(Host* host);

    // Increases whenever any control or window changes (for renderers).
    uint64_t revision() const { return m_revision; }
    void touch() { ++m_revision; }

    // Called by timers.
    void timerChanged(Timer& timer);
    void timerGone(Timer& timer);

private:
    struct Scheduled {
        int64_t due;
        uint64_t seq;
        uint64_t generation;
    };
    void adopt(std::type_index type, std::unique_ptr<Form> form);
    void fire(Timer* timer);
    Timer* nextDue(int64_t limit) const;
    void collectRetired();
    [[noreturn]] static void missingService(const char* name);

    std::unique_ptr<Clock> m_clock;
    VirtualClock* m_virtual = nullptr;
    std::unordered_map<std::type_index, std::unique_ptr<Form>> m_forms;
    std::vector<Form*> m_loadOrder;
    std::vector<std::unique_ptr<Form>> m_retired;
    std::vector<WindowEntry> m_windows;
    std::unordered_map<std::type_index, std::shared_ptr<void>> m_services;
    std::function<std::unique_ptr<BrowserEngine>(WebBrowser&)> m_browserFactory;
    std::function<std::unique_ptr<MediaEngine>(MediaPlayer&)> m_mediaFactory;
    std::map<Timer*, Scheduled> m_timers;
    std::vector<Timer*> m_firing;
    uint64_t m_seq = 0;
    uint64_t m_generation = 0;
    int m_depth = 0;
    bool m_ended = false;
    uint64_t m_revision = 1;
    Host m_defaultHost;
    Host* m_host = &m_defaultHost;
    std::mutex m_postMutex;
    std::vector<std::function<void()>> m_posted;
};

} // namespace runtime
