// The lyrics of the song that plays: found once it starts (beside it, in the lyrics folders,
// in its tags or from the configured provider) and handed to the media player control, which
// shows them with the song.
#include "common/data_folders.h"
#include "lyrics/lyrics_finder.h"
#include "platform/config.h"
#include "platform/media_tags.h"
#include "platform/network.h"
#include "player/media_kinds.h"
#include "player/player_window.h"
#include "runtime/app.h"

namespace player {

void Form5::findLyricsWhenNew()
{
    if (WindowsMediaPlayer1.url() != m_lyricsFor)
        geci.start(1);
}

void Form5::geci_Timer()
{
    geci.setEnabled(false);
    const std::string song = WindowsMediaPlayer1.url();
    m_lyricsFor = song;
    if (!media::isMusic(song) || song.empty() || song.front() != '/')
        return;
    const lyrics::Sources sources { common::dataPaths(app()).root + lyrics::kFolderName,
        app().service<platform::Config>().get("lyrics") };
    const lyrics::Found found
        = lyrics::findLyrics(song, platform::readSongTags(song), sources, app().service<platform::Network>());
    // A provider that fails says so only in the overlay's text, never in a message.
    if (!found.failure.empty())
        Text5.setText("歌词服务没有回答（" + found.failure + "）");
    // The song may have changed while the provider was asked (its wait runs the event pump).
    if (WindowsMediaPlayer1.url() == song)
        WindowsMediaPlayer1.setLyrics(found.text);
}

} // namespace player
