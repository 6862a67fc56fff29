#include "assembly/open_files.h"

#include "player/player_window.h"
#include "runtime/app.h"
#include "shell/hub_window.h"

namespace assembly {

void openFiles(runtime::App& app, const std::vector<std::string>& files)
{
    app.dispatch([&app, files] {
        shell::moban& hub = app.get<shell::moban>();
        hub.show();
        if (files.empty())
            return;
        if (hub.qied.text() != shell::kTilePlayer)
            hub.selectTile(shell::kTilePlayer);
        app.get<player::Form5>().openWith(files);
    });
}

} // namespace assembly
