#pragma once
// Time in milliseconds. Windows and services read the app's clock (App::now), which is real
// time in the program and a virtual one in tests and the console; only what measures the
// real world below the app (the network's deadlines) reads the steady time itself.
#include <chrono>
#include <cstdint>

namespace runtime {

// Milliseconds of the monotonic clock.
inline int64_t steadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A millisecond clock.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual int64_t nowMs() const = 0;
};

// A clock that moves only when told to: tests and the headless console use it.
class VirtualClock : public Clock {
public:
    [[nodiscard]] int64_t nowMs() const override { return m_now; }
    void set(int64_t ms) { m_now = ms; }

private:
    int64_t m_now = 0;
};

// Real monotonic time.
class SteadyClock : public Clock {
public:
    [[nodiscard]] int64_t nowMs() const override { return steadyNowMs(); }
};

} // namespace runtime
