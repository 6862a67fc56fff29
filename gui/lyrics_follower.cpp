#include "gui/lyrics_follower.h"

#include <cmath>

#include "platform/media_remote.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// How long the last line lasts when nothing follows it.
constexpr int kLastLineMs = 5000;

const std::shared_ptr<const lyrics::Lyrics>& noLyrics()
{
    static const std::shared_ptr<const lyrics::Lyrics> none = std::make_shared<const lyrics::Lyrics>();
    return none;
}

} // namespace

int msOf(double seconds)
{
    return std::isfinite(seconds) ? static_cast<int>(std::llround(std::clamp(seconds, 0.0, 1e6) * 1000)) : 0;
}

LyricsFollower::LyricsFollower(runtime::App& app, runtime::MediaPlayer& player)
    : m_app(app)
    , m_player(player)
    , m_lyrics(noLyrics())
{
}

bool LyricsFollower::refresh()
{
    const std::string& url = m_player.url();
    // The lyrics of a medium are found once, when it starts: found ones stay.
    if (url == m_url && !m_text.empty())
        return false;
    std::string text;
    if (m_app.hasService<platform::MediaRemote>()) {
        platform::MediaRemote& remote = m_app.service<platform::MediaRemote>();
        // Only the player window's lyrics are known; another player shows none.
        if (remote.player() == &m_player)
            text = remote.lyrics();
    }
    const bool changed = url != m_url || text != m_text;
    m_url = url;
    if (text != m_text) {
        m_text = std::move(text);
        m_lyrics
            = m_text.empty() ? noLyrics() : std::make_shared<const lyrics::Lyrics>(lyrics::parseLrc(m_text));
    }
    return changed;
}

int LyricsFollower::lineAt(double seconds) const
{
    return lyrics::lineAt(*m_lyrics, msOf(seconds));
}

int LyricsFollower::endOf(int line) const
{
    const auto& lines = m_lyrics->lines;
    if (line < 0 || line >= static_cast<int>(lines.size()))
        return 0;
    return line + 1 < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(line) + 1].ms
                                                     : lines[static_cast<size_t>(line)].ms + kLastLineMs;
}

} // namespace gui
