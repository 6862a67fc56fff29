#pragma once
// What the desktop's media keys and player widgets may ask of the program: the media player
// control to play with, the entries before and after, the play order, the hub and the exit.
// The program's assembly provides it; the front end speaks the desktop's protocol with it.
#include <string>

namespace runtime {
class MediaPlayer;
}

namespace platform {

// What comes after the current medium, in the desktop's words.
enum class Repeat { None, Track, Playlist };
struct PlayOrder {
    Repeat repeat = Repeat::None;
    bool shuffle = false;
    bool operator==(const PlayOrder&) const = default;
};

// The entry being played, as a player widget shows it.
struct TrackInfo {
    // The list's display name of the entry (empty without a current entry).
    std::string title;
    // The position of the entry in its list, or -1.
    int index = -1;
    // The medium's lyrics as LRC or plain text (empty when none were found).
    std::string lyrics;
};

class MediaRemote {
public:
    virtual ~MediaRemote() = default;
    // The player window's media control, or nullptr while that window is not loaded.
    virtual runtime::MediaPlayer* player() = 0;
    // Whether the entry after (step 1) or before (step -1) the current one exists.
    virtual bool canStep(int step) = 0;
    // Plays the entry after or before, as the player's next and previous buttons do.
    virtual void step(int step) = 0;
    virtual TrackInfo track() = 0;
    // The lyrics of the medium the player holds (track().lyrics without the list's lookup),
    // asked as often as the position moves.
    virtual std::string lyrics() { return track().lyrics; }
    virtual PlayOrder playOrder() = 0;
    // Chooses the play mode nearest to the order, as the playlist menu's mode items do.
    virtual void setPlayOrder(const PlayOrder& order) = 0;
    // Plays a file path or a web address, as a file handed to the program or a typed address.
    virtual void open(const std::string& address) = 0;
    // Shows the desktop lyrics bar, or closes it when it is shown.
    virtual void toggleDeskLyrics() { }
    // Shows the hub with the media player chosen.
    virtual void raise() = 0;
    // Ends the program as the tray's exit does once the person has confirmed it.
    virtual void quit() = 0;
};

} // namespace platform
