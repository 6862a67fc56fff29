#pragma once
// The picture of a playing video, drawn as an ordinary widget from the pictures the engine's
// renderer draws at the widget's size in device pixels: no native child window (which would
// cover the widgets stacked above it and break when its window is rebuilt or unloaded) and no
// graphics context of its own. A song shows its title, artist, album and cover instead.
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "gui/song_card_lyrics.h"

class QLabel;

namespace gui {

class FrameRenderer;

// What a song shows in the video area.
struct SongCard {
    QStringList lines; // title first, then artist and album when known
    QImage cover; // null when the file holds none
    QColor background;
    // The song's lyrics (none: null or empty), shown under the title.
    std::shared_ptr<const lyrics::Lyrics> lyrics;
};

class VideoSurface : public QWidget {
public:
    explicit VideoSurface(QWidget* parent = nullptr);
    // The renderer whose pictures are shown (none once the engine goes).
    void setRenderer(FrameRenderer* renderer);
    // The last frame as drawn (null before the first and after the medium is closed).
    [[nodiscard]] QImage picture() const;
    // Shown while there is no video frame; an empty card shows black.
    void setSongCard(SongCard card);
    // The line of the card's lyrics being sung (-1: none yet).
    void setLyricsLine(int line);
    // A click on a line of the card's lyrics: its time in milliseconds.
    std::function<void(int ms)> onLyricClicked;
    // A left click at a point of the surface: true when it fell on a line of the lyrics.
    bool clickLyric(const QPoint& at);
    // A line over the top left corner of the picture for a moment (the speed, a subtitle
    // chosen).
    void showStatus(const QString& text);
    // How long a status line stays.
    static constexpr int kStatusMs = 2000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintSong(QPainter& painter);
    // The title and the other tags from the top of area; returns where the next line goes.
    int paintTags(QPainter& painter, const QRect& area, int top, int titleSize, int align);
    // Tells the renderer the size shown, in device pixels.
    void sizeRenderer();

    FrameRenderer* m_renderer = nullptr;
    QLabel* m_status;
    QTimer m_statusTimer;
    SongCard m_song;
    int m_lyricsLine = -1;
    std::vector<LyricRow> m_lyricRows;
    const QImage m_none;
};

} // namespace gui
