#pragma once
// The loads in flight of the headless browsers of one app.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace runtime {
class App;
}

namespace platform {

// Counts the loads in flight of all headless browsers of one app (a service of the app), so
// that the console can wait for them before the next timer tick.
class HeadlessLoads : public std::enable_shared_from_this<HeadlessLoads> {
public:
    // A load was queued.
    void started()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_inFlight;
    }
    // A load ended (its document, if any, is posted).
    void finished()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            --m_inFlight;
        }
        m_idle.notify_all();
    }
    // Waits until no load is in flight or the deadline passes; true when none is.
    bool waitIdle(std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_idle.wait_until(lock, deadline, [this] { return m_inFlight == 0; });
    }
    // Loads queued or running.
    int inFlight()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_inFlight;
    }
    // The app's counter, created on first use (UI thread).
    static std::shared_ptr<HeadlessLoads> of(runtime::App& app);

private:
    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_inFlight = 0;
};

} // namespace platform
