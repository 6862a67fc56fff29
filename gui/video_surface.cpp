#include "gui/video_surface.h"

#include <QPainter>
#include <QVideoSink>

#include "gui/frame_scaler.h"

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
    // Only kept here, converted when painted, at the size shown. Qt's GStreamer sink hands each
    // frame over and waits at most 300 ms for this handler; a slower answer ends the stream as
    // a data error (the medium is then reported invalid). A hidden surface, or a frame the
    // screen never shows, costs nothing.
    m_frame = frame;
    m_pictureCurrent = false;
    if (!frame.isValid())
        m_picture = QImage();
    update();
}

void VideoSurface::setSongCard(SongCard card)
{
    m_song = std::move(card);
    // A song has no picture: the last frame of a video before it is gone.
    if (!m_song.lines.isEmpty()) {
        m_frame = QVideoFrame();
        m_picture = QImage();
    }
    update();
}

void VideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_frame.isValid()) {
        paintSong(painter);
        return;
    }
    // The whole picture, as large as fits, in the middle.
    const QSize size = m_frame.size().scaled(this->size(), Qt::KeepAspectRatio);
    if (!m_pictureCurrent || m_picture.size() != size)
        m_pictureCurrent = scaleFrame(m_frame, size, m_picture);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    // Only the bars beside the picture are filled: the picture covers the rest.
    const QRegion bars = QRegion(rect()) - QRegion(target);
    for (const QRect& r : bars)
        painter.fillRect(r, Qt::black);
    if (m_pictureCurrent)
        painter.drawImage(target.topLeft(), m_picture);
    else
        painter.fillRect(target, Qt::black);
}

void VideoSurface::paintSong(QPainter& painter)
{
    if (m_song.lines.isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.fillRect(rect(), m_song.background);
    const int margin = std::max(12, width() / 20);
    QRect textArea = rect().adjusted(margin, margin, -margin, -margin);
    if (!m_song.cover.isNull()) {
        // The cover on the left half, as large as fits; the texts beside it.
        const int side = std::min(textArea.height(), textArea.width() / 2);
        const QSize coverSize = m_song.cover.size().scaled(side, side, Qt::KeepAspectRatio);
        const QRect coverRect(
            QPoint(textArea.left(), textArea.center().y() - coverSize.height() / 2), coverSize);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(coverRect, m_song.cover);
        textArea.setLeft(coverRect.right() + margin);
    }
    // Light text on a dark skin, dark text on a light one.
    const QColor ink = m_song.background.lightness() < 128 ? QColor(Qt::white) : QColor(0x20, 0x20, 0x20);
    painter.setPen(ink);
    QFont font = painter.font();
    const int titleSize = std::clamp(height() / 16, 12, 40);
    int y = textArea.center().y() - titleSize * m_song.lines.size();
    for (int i = 0; i < m_song.lines.size(); ++i) {
        font.setPixelSize(i == 0 ? titleSize : titleSize * 2 / 3);
        font.setBold(i == 0);
        painter.setFont(font);
        const int lineHeight = font.pixelSize() * 2;
        const QRect line(textArea.left(), y, textArea.width(), lineHeight);
        const int align = (m_song.cover.isNull() ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
        painter.drawText(
            line, align, QFontMetrics(font).elidedText(m_song.lines[i], Qt::ElideRight, textArea.width()));
        y += lineHeight;
    }
}

} // namespace gui
