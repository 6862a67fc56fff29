#pragma once
// The picture of a playing video, drawn as an ordinary widget from the frames the player
// hands to its sink: no native child window (which would cover the widgets stacked above it
// and break when its window is rebuilt or unloaded) and no graphics context of its own. A song
// shows its title, artist, album and cover instead.
#include <QImage>
#include <QStringList>
#include <QVideoFrame>
#include <QWidget>

class QVideoSink;

namespace gui {

// What a song shows in the video area.
struct SongCard {
    QStringList lines; // title first, then artist and album when known
    QImage cover; // null when the file holds none
    QColor background;
};

class VideoSurface : public QWidget {
public:
    explicit VideoSurface(QWidget* parent = nullptr);
    // Where the player sends its frames.
    QVideoSink* videoSink() const { return m_sink; }
    // The last frame as drawn (null before the first and after the medium is closed).
    const QImage& picture() const { return m_picture; }
    // Shown while there is no video frame; an empty card shows black.
    void setSongCard(SongCard card);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void frameChanged(const QVideoFrame& frame);
    void paintSong(QPainter& painter);

    QVideoSink* m_sink;
    QVideoFrame m_frame;
    QImage m_picture;
    // Whether m_picture is drawn from m_frame already.
    bool m_pictureCurrent = false;
    SongCard m_song;
};

} // namespace gui
