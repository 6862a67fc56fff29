#include "gui/video_surface.h"

#include <QPainter>
#include <QVideoSink>

namespace gui {

VideoSurface::VideoSurface(QWidget* parent)
    : QWidget(parent)
    , m_sink(new QVideoSink(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& f) { frameChanged(f); });
}

void VideoSurface::frameChanged(const QVideoFrame& frame)
{
    // Only kept here, converted when painted. Qt's GStreamer sink hands each frame over and
    // waits at most 300 ms for this handler; a slower answer ends the stream as a data error
    // (the medium is then reported invalid). The first conversion makes a graphics context,
    // which under a software driver alone takes about that long. A hidden surface, or a
    // frame the screen never shows, costs nothing.
    m_frame = frame;
    m_pictureCurrent = false;
    if (!frame.isValid())
        m_picture = QImage();
    update();
}

void VideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_pictureCurrent && m_frame.isValid())
        m_picture = m_frame.toImage();
    m_pictureCurrent = true;
    if (m_picture.isNull())
        return;
    // The whole picture, as large as fits, in the middle.
    const QSize size = m_picture.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_picture);
}

} // namespace gui
