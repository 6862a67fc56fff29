#pragma once
// The media player's own menu (a right click on the video) and its speed steps: the speed
// with the pitch kept.
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace runtime {
class MediaPlayer;
}

namespace gui {

class MpvMediaEngine;
class TransportBar;

// The speeds the menu and the keys step through.
inline constexpr double kRateSteps[] = { 0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0 };

// The next speed step above (direction 1) or below (-1) rate, or rate itself at either end.
double rateStep(double rate, int direction);

// The speed as the overlay shows it ("播放速度 1.25×").
QString rateText(double rate);

// Whether a file is a subtitle file the player loads (by its extension).
bool isSubtitleFile(const QString& path);

// Builds the menu for the player's state; every choice goes through the bar to the control,
// the subtitle's through the engine. openEqualizer shows the equalizer window, toggleDeskLyrics
// shows or closes the desktop lyrics.
QMenu* mediaMenu(QWidget* parent, runtime::MediaPlayer& player, TransportBar& bar, MpvMediaEngine* engine,
    const std::function<void()>& openEqualizer, const std::function<void()>& toggleDeskLyrics);

} // namespace gui
