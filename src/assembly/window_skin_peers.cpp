#include "assembly/window_skin_peers.h"

#include "common/skin_peers.h"
#include "runtime/app.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "traymenu/tray_window.h"

namespace assembly {

namespace {

// The tray window keeps the cache, the hub the picture; the settings and updater windows
// follow the skin.
class WindowSkinPeers : public common::SkinPeers {
public:
    explicit WindowSkinPeers(runtime::App& app)
        : m_app(app)
    {
    }
    runtime::ListBox& cacheLines() override { return tray().List1; }
    std::array<runtime::TextBox*, 3> cacheFields() override
    {
        traymenu::Form6& t = tray();
        return { &t.ini1, &t.ini2, &t.ini3 };
    }
    runtime::TextBox& appliedMode() override { return tray().Text4; }
    runtime::Image& hubPicture() override { return m_app.get<shell::moban>().Image3; }
    int hubHeight() override { return m_app.get<shell::moban>().height(); }
    runtime::Form& settingsWindow() override { return m_app.get<settings::setz>(); }
    std::array<runtime::Label*, 3> settingsLabels() override
    {
        settings::setz& s = m_app.get<settings::setz>();
        return { &s.Label1, &s.Label2, &s.Label3 };
    }
    runtime::Form& updaterWindow() override { return m_app.get<shell::Form4>(); }
    runtime::Label& updaterStatus() override { return m_app.get<shell::Form4>().Label1; }

private:
    traymenu::Form6& tray() { return m_app.get<traymenu::Form6>(); }
    runtime::App& m_app;
};

} // namespace

void provideSkinPeers(runtime::App& app)
{
    app.provide<common::SkinPeers>(std::make_shared<WindowSkinPeers>(app));
}

} // namespace assembly
