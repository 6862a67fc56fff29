#include "console/console_host.h"

#include "platform/headless_browser.h"
#include "runtime/controls.h"

namespace console {

namespace {
// How long a tick waits at most for headless page loads still in flight.
constexpr int kPageLoadTimeoutMs = 15000;
} // namespace

ConsoleHost::ConsoleHost(runtime::App& app)
    : m_app(app)
{
}

void ConsoleHost::beforeTick()
{
    settlePageLoads();
}

void ConsoleHost::settlePageLoads()
{
    // A timer handler that polls a browser's busy flag must see the page its last navigation
    // asked for, as on the desktop where the load finishes long before the next tick.
    platform::settleHeadlessBrowsers(m_app, kPageLoadTimeoutMs);
}

void ConsoleHost::popupMenu(runtime::Form&, runtime::Menu& menu)
{
    m_popups.push_back(menu.name());
}

void ConsoleHost::programEnded()
{
    m_ended = true;
}

std::vector<std::string> ConsoleHost::takePopups()
{
    std::vector<std::string> out;
    out.swap(m_popups);
    return out;
}

} // namespace console
