#include "console/console_host.h"

#include "runtime/controls.h"

namespace console {

namespace {
// How long a tick waits at most for headless page loads still in flight.
constexpr int kPageLoadTimeoutMs = 15000;
}  // namespace

ConsoleHost::ConsoleHost(rt::App& app)
    : m_app(app)
{
}

void ConsoleHost::beforeTick()
{
    // HEADLESS-BROWSER: call platform::settleHeadlessBrowsers(m_app, kPageLoadTimeoutMs) here
    // once src/platform/headless_browser.h exists; until then pages come from recording engines,
    // which never load anything, so there is nothing to wait for.
    static_cast<void>(kPageLoadTimeoutMs);
}

void ConsoleHost::popupMenu(rt::Form&, rt::Menu& menu)
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

}  // namespace console
