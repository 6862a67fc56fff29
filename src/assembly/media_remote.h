#pragma once
// The program's side of the desktop's media keys and player widgets.
#include "platform/media_remote.h"

namespace runtime {
class App;
}

namespace assembly {

// The play order a play-mode word gives, and the play-mode word nearest to an order (the
// current word when it already gives that order).
platform::PlayOrder playOrderOf(const std::string& word);
std::string playModeFor(const platform::PlayOrder& order, const std::string& current);

// Puts the media remote of the player window into the app.
void provideMediaRemote(runtime::App& app);

} // namespace assembly
