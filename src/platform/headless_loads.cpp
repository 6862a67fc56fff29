#include "platform/headless_loads.h"

#include <algorithm>

#include "platform/headless_browser.h"
#include "runtime/app.h"

namespace platform {

std::shared_ptr<HeadlessLoads> HeadlessLoads::of(runtime::App& app)
{
    if (!app.hasService<HeadlessLoads>())
        app.provide<HeadlessLoads>(std::make_shared<HeadlessLoads>());
    return app.service<HeadlessLoads>().shared_from_this();
}

bool settleHeadlessBrowsers(runtime::App& app, int timeoutMs)
{
    if (!app.hasService<HeadlessLoads>()) {
        app.runPosted();
        return true;
    }
    HeadlessLoads& loads = app.service<HeadlessLoads>();
    const auto deadline
        = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        loads.waitIdle(deadline);
        // Installing a document runs the window's completion handlers, which may start the
        // next load; that one is waited for too while time is left.
        app.runPosted();
        if (loads.inFlight() == 0)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

} // namespace platform
