#pragma once
// The lyrics of the medium a media player control plays, followed while it plays: asked of
// the program's media remote (which finds them when a song starts), parsed once per text.
#include <memory>
#include <string>

#include "lyrics/lrc.h"

namespace runtime {
class App;
class MediaPlayer;
} // namespace runtime

namespace gui {

class LyricsFollower {
public:
    LyricsFollower(runtime::App& app, runtime::MediaPlayer& player);

    // Asks for the lyrics again when the medium changed or none have come yet; true when the
    // lyrics shown must change. Cheap enough to call at every position the engine reports.
    bool refresh();
    // The lyrics of the medium playing (empty when it has none); shared with what draws them.
    [[nodiscard]] const std::shared_ptr<const lyrics::Lyrics>& lyrics() const { return m_lyrics; }
    // The line sung at seconds (-1 before the first, and for untimed lyrics).
    [[nodiscard]] int lineAt(double seconds) const;
    // When the line ends, in milliseconds: the next line's time, or a few seconds after it.
    [[nodiscard]] int endOf(int line) const;

private:
    runtime::App& m_app;
    runtime::MediaPlayer& m_player;
    std::string m_url;
    std::string m_text;
    std::shared_ptr<const lyrics::Lyrics> m_lyrics;
};

// Milliseconds of a position in seconds.
int msOf(double seconds);

} // namespace gui
