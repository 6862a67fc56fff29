#pragma once
// What the console does for the app as its host: it remembers popped-up menus, notices when
// the program ends itself, and lets headless page loads finish before every timer tick.
#include <string>
#include <vector>

#include "runtime/app.h"

namespace console {

class ConsoleHost : public runtime::Host {
public:
    explicit ConsoleHost(runtime::App& app);

    void beforeTick() override;
    // Waits for the headless page loads in flight and installs their documents.
    void settlePageLoads();
    void popupMenu(runtime::Form& form, runtime::Menu& menu) override;
    void programEnded() override;

    // The names of the menus popped up since the last call.
    std::vector<std::string> takePopups();
    // Whether the program has ended itself.
    [[nodiscard]] bool ended() const { return m_ended; }

private:
    runtime::App& m_app;
    std::vector<std::string> m_popups;
    bool m_ended = false;
};

} // namespace console
