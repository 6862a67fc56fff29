#pragma once
// The widget the media player's view hosts: the video with the control bar under it, the
// player's keys and wheel, and full screen.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "gui/later_ptr.h"
#include "gui/transport_bar.h"
#include "gui/video_surface.h"

class QKeyEvent;
class QDialog;
class QDropEvent;
class QShortcut;

namespace gui {

class MpvMediaEngine;

// Space pauses and plays while the player's window is active (not while a text is typed).
// With the surface focused (a click on the video) Left/Right seek 5 s, Up/Down change the
// volume by 5, M mutes, F toggles full screen, [ and ] step the speed down and up and Backspace
// makes it normal, L shows or closes the desktop lyrics; the wheel over the video changes the volume, a right
// click opens the player's menu; a subtitle file dropped on a playing video loads. Full screen is a fresh
// window over the whole screen each time, left by Esc, F, the button or a double click; there the bar and the
// pointer show while the mouse moves and hide after 3 s.
class MediaSurface : public QWidget {
public:
    // Takes the video (it becomes the surface's child).
    MediaSurface(Session& session, runtime::MediaPlayer& player, VideoSurface* video);
    ~MediaSurface() override;

    [[nodiscard]] TransportBar* bar() const { return m_bar; }
    // The engine, for its subtitles (none once it goes).
    void setEngine(MpvMediaEngine* engine) { m_engine = engine; }
    // The control is going away: the surface does nothing more to it.
    void detach()
    {
        m_player = nullptr;
        m_engine = nullptr;
        m_bar->detach();
    }
    [[nodiscard]] VideoSurface* video() const { return m_video; }
    void setFullScreen(bool on);
    [[nodiscard]] bool isFullScreen() const { return m_window != nullptr; }
    // Shows the equalizer window (one at a time).
    void openEqualizer();
    // The full-screen window while there is one.
    [[nodiscard]] QWidget* fullScreenWindow() const { return m_window.get(); }

    // How long the bar stays in full screen after the mouse last moved.
    static constexpr int kBarShownMs = 3000;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a mouse, drag or wheel event over the video does; true when it is taken.
    bool videoEvent(QEvent* event);
    // What a key, resize or close of the full-screen window does; true when it is taken.
    bool windowEvent(QEvent* event);
    void placeParts();
    // Runs the player's key; false when the key is not one of them.
    bool playerKey(int key);
    void showBarForAWhile();
    // Takes a drag of subtitle files over a playing video (loads them on drop); false for
    // anything else.
    bool dropSubtitles(QDropEvent* event, bool drop);
    void hideBar();

    // Shows or closes the desktop lyrics bar (L, and the menu's item).
    void toggleDeskLyrics();

    Session& m_session;
    // Cleared when the control goes (with the bar's detach).
    runtime::MediaPlayer* m_player;
    MpvMediaEngine* m_engine = nullptr;
    QPointer<VideoSurface> m_video;
    TransportBar* m_bar;
    QShortcut* m_space;
    // The full-screen window, let go on leaving full screen (its own key may end it).
    LaterPtr<QWidget> m_window;
    QPointer<QDialog> m_equalizer;
    QTimer m_barTimer;
    QPoint m_lastPointer;
    // Wheel turns of less than a notch (touchpads), kept until they add up to one.
    int m_wheelRest = 0;
};

} // namespace gui
