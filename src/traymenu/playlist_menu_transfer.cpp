// The playlist menu's import and export: other players' playlist files into the player's
// lists, and the shown list out as one.
#include "common/stale_files.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "traymenu/tray_window.h"

namespace traymenu {

namespace {

// The playlist formats, each as a filter of the file dialog.
const std::vector<platform::FileFilter> kPlaylistFilters = {
    { "M3U 播放列表(*.m3u8;*.m3u)", "*.m3u8;*.m3u" },
    { "PLS 播放列表(*.pls)", "*.pls" },
    { "XSPF 播放列表(*.xspf)", "*.xspf" },
};

} // namespace

void Form6::daoru_Click()
{
    player::Form5& player = app().get<player::Form5>();
    platform::OpenFileRequest request;
    request.title = "导入播放列表";
    request.initialFolder = dialogFolder();
    request.filters = { { "播放列表(*.m3u;*.m3u8;*.pls;*.xspf)", "*.m3u;*.m3u8;*.pls;*.xspf" } };
    request.filters.insert(request.filters.end(), kPlaylistFilters.begin(), kPlaylistFilters.end());
    if (const auto file = app().service<platform::Dialogs>().openFile(request)) {
        chosenInDialog(*file);
        player.importPlaylist(*file);
    }
}

void Form6::daochu_Click()
{
    player::Form5& player = app().get<player::Form5>();
    // The network list and a folder of pictures are no playlist.
    if (player.liebiao.text() == player::kNetworkListCaption || !player.listHoldsPlaylist())
        return;
    platform::OpenFileRequest request;
    request.title = "导出播放列表";
    request.initialFolder = dialogFolder();
    request.filters = kPlaylistFilters;
    request.save = true;
    if (const auto file = app().service<platform::Dialogs>().openFile(request)) {
        chosenInDialog(*file);
        // The export's temporary file lies beside it, where a killed run's would stay.
        common::noteTemporaryFolder(app(), file->substr(0, file->rfind(platform::kSeparator)));
        player.exportPlaylist(*file);
    }
}

} // namespace traymenu
