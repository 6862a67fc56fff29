#include "player/player_lyrics.h"

#include "common/data_folders.h"
#include "lyrics/lyrics_finder.h"
#include "platform/config.h"
#include "platform/media_tags.h"
#include "platform/network.h"
#include "player/media_kinds.h"
#include "player/player_window.h"
#include "runtime/app.h"

namespace player {

namespace {

// The medium whose lyrics were last sought, in which window, and what was found.
struct Sought {
    const Form5* window = nullptr;
    std::string medium;
    std::string text;
};

Sought& lastSought()
{
    static Sought sought;
    return sought;
}

} // namespace

void findLyricsWhenNew(Form5& window)
{
    const std::string song = window.WindowsMediaPlayer1.url();
    Sought& sought = lastSought();
    if (sought.window == &window && sought.medium == song)
        return;
    sought = { &window, song, {} };
    if (!media::isMusic(song) || song.empty() || song.front() != '/')
        return;
    runtime::App& app = window.app();
    const lyrics::Sources sources { common::dataPaths(app).root + lyrics::kFolderName,
        app.service<platform::Config>().get("lyrics") };
    // Only a configured provider needs the network (a console or test may have none).
    platform::Network* network = sources.provider.empty() ? nullptr : &app.service<platform::Network>();
    const lyrics::Found found = lyrics::findLyrics(song, platform::readSongTags(song), sources, network);
    if (!found.failure.empty())
        window.Text5.setText("歌词服务没有回答（" + found.failure + "）");
    // The song may have changed while the provider was asked (its wait runs the event pump).
    if (lastSought().window == &window && lastSought().medium == song)
        lastSought().text = found.text;
}

std::string lyricsOf(const Form5& window)
{
    const Sought& sought = lastSought();
    return sought.window == &window && sought.medium == window.WindowsMediaPlayer1.url() ? sought.text
                                                                                         : std::string();
}

} // namespace player
