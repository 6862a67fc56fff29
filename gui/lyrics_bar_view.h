#pragma once
// The view of a lyrics bar: two lines of the playing song's lyrics, the line being sung filling
// with the sung colour word by word (or at once, without word times), every glyph outlined so
// it reads on any background. It follows the position events of the engine of the media player
// the desktop's media keys reach, and repaints only when what it shows changes.
#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "gui/control_view.h"

namespace runtime {
class LyricsBar;
class MediaPlayer;
} // namespace runtime

namespace gui {

class LyricsFollower;
class MpvMediaEngine;

class LyricsBarView : public QWidget, public ControlView {
public:
    LyricsBarView(Session& session, runtime::LyricsBar& bar, QWidget* parent);
    ~LyricsBarView() override;
    QWidget* widget() override { return this; }

    // The lines shown now (the sung one first) and how much of it is filled, 0 to 1.
    [[nodiscard]] QString sungLine() const { return m_lines[0]; }
    [[nodiscard]] double filled() const { return m_share; }

protected:
    void syncKind(runtime::Control& control) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Follows the player's engine once there is one; tries again a little later otherwise.
    void attach();
    void positionMoved(double seconds);
    // Draws both lines, outlined, into the pictures painted from: once in the text colour,
    // and the sung line once more in the fill colour.
    void render();
    // Draws one line at its place in colour; returns where its text lies.
    QRect paintLine(QPainter& painter, const QString& text, int row, const QColor& colour);

    QPointer<MpvMediaEngine> m_engine;
    std::unique_ptr<LyricsFollower> m_follower;
    QTimer m_retry;
    // The sung line and the line under it; the sung line's index, its share and fill width.
    QString m_lines[2];
    int m_line = -2;
    double m_share = 0;
    int m_fillPixels = -1;
    // The lines as drawn, the sung line in the fill colour, and where that line's text lies.
    QImage m_drawn;
    QImage m_sung;
    int m_sungLeft = 0;
    int m_sungWidth = 0;
    // Whether the pictures must be drawn again (new lines, colours, size).
    bool m_stale = true;
    QElapsedTimer m_sinceUpdate;
};

} // namespace gui
