// Seed files: a dropped seed adds its folder's seeds to the video playlist; a seed or a
// stream link opens in a generated page that embeds the QVOD or Baidu player.
#include <algorithm>

#include "common/data_folders.h"
#include "player/media_kinds.h"
#include "player/page_templates.h"
#include "player/player_window.h"
#include "player/seed_files.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace player {

void Form5::zz_Timer()
{
    zz.setEnabled(false);
    ensurePlaylistFiles(app(), Playlist::Video);
    choosePlaylist(Playlist::Video);
    loadPlaylist(Playlist::Video);
    loadPathSnapshot(Playlist::Video);
    const std::string path = Text4.text();
    const std::string folder = folderOf(path);
    File1.setPattern(media::kSeedPattern);
    File1.setPath(folder);
    // A seed already listed is neither added again nor opened.
    const std::vector<std::string>& known = List3.items();
    if (std::find(known.begin(), known.end(), path) != known.end())
        return;
    appendFolder(folder);
    loadPathSnapshot(Playlist::Video);
    if (List1.listCount() > List3.listCount())
        std::ignore = savePlaylist(Playlist::Video); // a failure is told by savePlaylist itself
    loadPlaylist(Playlist::Video);
    openSeed();
}

void Form5::zzl_Timer()
{
    zzl.setEnabled(false);
    openSeed();
}

void Form5::openSeed()
{
    // A seed file is replaced by the link it holds; a seed without a readable link stays
    // as it is and gets the empty page, as an address of no known kind does.
    if (media::endsWithAny(vb::UCase(Text4.text()), { ".QSED" })) {
        closeMediaPlayer();
        if (const auto link = seeds::readQsedLink(Text4.text(), common::codePage(app())))
            Text4.setText(*link);
    }
    if (media::endsWithAny(vb::UCase(Text4.text()), { ".BSED" })) {
        closeMediaPlayer();
        if (const auto link = seeds::readBsedLink(Text4.text()))
            Text4.setText(*link);
    }
    const std::string address = Text4.text();
    const std::string upper = vb::UCase(address);
    std::string page;
    if (media::endsWithAny(upper, { ".TORRENT" }) || media::startsWithAny(upper, { "QVOD://" })) {
        closeMediaPlayer();
        page = pages::withUrlParameter(qvod.text(), address);
    }
    if (media::startsWithAny(upper, { "BDHD://", "FTP://" })) {
        closeMediaPlayer();
        page = pages::withUrlParameter(bdhd.text(), address);
    }
    showOverlay(4, "正在读取种子信息...");
    writePage(page);
}

} // namespace player
