#pragma once
// The picture of a playing video, drawn as an ordinary widget from the frames the player
// hands to its sink: no native child window (which would cover the widgets stacked above it
// and break when its window is rebuilt or unloaded) and no graphics context of its own.
#include <QImage>
#include <QVideoFrame>
#include <QWidget>

class QVideoSink;

namespace gui {

class VideoSurface : public QWidget {
public:
    explicit VideoSurface(QWidget* parent = nullptr);
    // Where the player sends its frames.
    QVideoSink* videoSink() const { return m_sink; }
    // The last frame as drawn (null before the first and after the medium is closed).
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void frameChanged(const QVideoFrame& frame);

    QVideoSink* m_sink;
    QVideoFrame m_frame;
    QImage m_picture;
    // Whether m_picture is drawn from m_frame already.
    bool m_pictureCurrent = false;
};

} // namespace gui
