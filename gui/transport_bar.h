#pragma once
// The media player control's own surface: the video above, and below it the control bar a
// person plays with (play/pause, stop, position with elapsed and total time, volume, mute,
// full screen). Every action goes through the control, as a window's call would.
#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QSlider;
class QToolButton;

namespace runtime {
class MediaPlayer;
}

namespace gui {

class Session;

// Elapsed or total time as the bar shows it: "m:ss", or "h:mm:ss" from an hour on.
QString mediaTimeText(double seconds);

class TransportBar : public QWidget {
public:
    TransportBar(Session& session, runtime::MediaPlayer& player, QWidget* parent);
    static constexpr int kHeight = 34;
    // The buttons are squares of this side, the first one 6 pixels from the left, 6 apart.
    static constexpr int kButtonSize = 26;

    // Shows the control's state: play state, position, length, volume and mute.
    void refresh();
    // Whether the medium has a picture (full screen is offered only then).
    void setHasVideo(bool hasVideo);
    // The control is going away: the bar does nothing more.
    void detach() { m_player = nullptr; }
    // Runs an action on the control through the session, then shows its outcome.
    void act(const std::function<void(runtime::MediaPlayer&)>& action);

    // Moves the medium by seconds (back when negative), within the medium.
    void seekBy(double seconds);
    // Changes the loudness by step, within 0 to 100.
    void changeVolume(int step);

    // Called when the full screen button is pressed.
    std::function<void()> onFullScreen;

    // The parts, for tests and the desktop suite.
    [[nodiscard]] QToolButton* playButton() const { return m_play; }
    [[nodiscard]] QToolButton* stopButton() const { return m_stop; }
    [[nodiscard]] QToolButton* muteButton() const { return m_mute; }
    [[nodiscard]] QToolButton* fullScreenButton() const { return m_fullScreen; }
    [[nodiscard]] QSlider* positionSlider() const { return m_position; }
    [[nodiscard]] QSlider* volumeSlider() const { return m_volume; }
    [[nodiscard]] QLabel* elapsedLabel() const { return m_elapsed; }
    [[nodiscard]] QLabel* totalLabel() const { return m_total; }

private:
    QToolButton* button(const QString& tip);
    void seekToSlider();
    // Where the position slider's thumb lies for a value, in pixels along the slider.
    [[nodiscard]] int thumbPixel(int value) const;

    Session& m_session;
    runtime::MediaPlayer* m_player;
    QToolButton* m_play;
    QToolButton* m_stop;
    QLabel* m_elapsed;
    QSlider* m_position;
    QLabel* m_total;
    QToolButton* m_mute;
    QSlider* m_volume;
    QToolButton* m_fullScreen;
    // What the play and mute buttons show now (-1 before the first refresh).
    int m_shownPlaying = -1;
    int m_shownMute = -1;
};

} // namespace gui
