#include "gui/video_surface.h"

#include <QPainter>
#include <QVideoFrame>
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
    // Hidden surfaces skip the conversion; the next frame after showing is drawn.
    if (!isVisible() && frame.isValid())
        return;
    m_frame = frame.isValid() ? frame.toImage() : QImage();
    update();
}

void VideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_frame.isNull())
        return;
    // The whole picture, as large as fits, in the middle.
    const QSize size = m_frame.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_frame);
}

} // namespace gui
