#pragma once
// The lyrics of the song the player's media player plays: found once it starts (beside it,
// in the lyrics folders, in its tags or from the configured provider), for the desktop's
// player widgets and the song card.
#include <string>

namespace player {

class Form5;

// Looks for the lyrics of the medium that started playing, unless it is the one last sought.
// A provider that fails is noted in the status overlay's text, never in a message.
void findLyricsWhenNew(Form5& window);
// The lyrics (UTF-8 LRC or plain text) of the medium the window's media player holds; empty
// when it has none or they have not been sought.
std::string lyricsOf(const Form5& window);

} // namespace player
