#include "gui/video_surface.h"

#include <QLabel>
#include <QPainter>
#include <cmath>

#include "gui/contrast.h"
#include "gui/media_frames.h"

namespace gui {

VideoSurface::VideoSurface(QWidget* parent)
    : QWidget(parent)
    , m_status(new QLabel(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_status->setObjectName(QStringLiteral("mediastatus"));
    m_status->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background: rgba(0, 0, 0, 160); padding: 4px 8px; font-size: 14px; }"));
    m_status->hide();
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(kStatusMs);
    connect(&m_statusTimer, &QTimer::timeout, m_status, &QWidget::hide);
}

void VideoSurface::showStatus(const QString& text)
{
    m_status->setText(text);
    m_status->adjustSize();
    m_status->move(12, 12);
    m_status->show();
    m_status->raise();
    m_statusTimer.start();
}

void VideoSurface::setRenderer(FrameRenderer* renderer)
{
    m_renderer = renderer;
    sizeRenderer();
    update();
}

QImage VideoSurface::picture() const
{
    return m_renderer && m_song.lines.isEmpty() ? m_renderer->picture() : QImage();
}

void VideoSurface::sizeRenderer()
{
    if (!m_renderer)
        return;
    // At device pixels: on a scaled screen every pixel of the video is its own. A hidden
    // surface draws nothing.
    const qreal ratio = devicePixelRatioF();
    m_renderer->setTargetSize(isVisible() ? QSize(static_cast<int>(std::ceil(width() * ratio)),
                                  static_cast<int>(std::ceil(height() * ratio)))
                                          : QSize(),
        ratio);
}

void VideoSurface::resizeEvent(QResizeEvent*)
{
    sizeRenderer();
}

void VideoSurface::showEvent(QShowEvent*)
{
    sizeRenderer();
}

void VideoSurface::hideEvent(QHideEvent*)
{
    sizeRenderer();
}

void VideoSurface::setSongCard(SongCard card)
{
    m_song = std::move(card);
    update();
}

void VideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& frame = m_renderer && m_song.lines.isEmpty() ? m_renderer->picture() : m_none;
    if (frame.isNull()) {
        paintSong(painter);
        return;
    }
    // The renderer fills the whole surface (the picture in the middle, black beside it), one
    // pixel of the picture per pixel of the screen.
    painter.drawImage(QPoint(0, 0), frame);
}

void VideoSurface::paintSong(QPainter& painter)
{
    m_lyricRows.clear();
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
    const QColor ink = readableOn(m_song.background, Qt::white);
    painter.setPen(ink);
    const int titleSize = std::clamp(height() / 16, 12, 40);
    const int align
        = static_cast<int>((m_song.cover.isNull() ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    if (!m_song.lyrics || m_song.lyrics->empty()) {
        paintTags(painter, textArea,
            textArea.center().y() - titleSize * static_cast<int>(m_song.lines.size()), titleSize, align);
        return;
    }
    // With lyrics, the tags stay small at the top and the lyrics fill the rest.
    const int tagSize = std::clamp(height() / 24, 11, 24);
    const int below = paintTags(painter, textArea, textArea.top(), tagSize, align) + tagSize / 2;
    const QRect lyricsArea(textArea.left(), below, textArea.width(), textArea.bottom() - below);
    const CardInk look { ink, sungColour(m_song.background), std::clamp(height() / 22, 12, 28) };
    m_lyricRows = paintCardLyrics(painter, lyricsArea, *m_song.lyrics, m_lyricsLine, look);
}

int VideoSurface::paintTags(QPainter& painter, const QRect& area, int top, int titleSize, int align)
{
    QFont font = painter.font();
    int y = top;
    for (int i = 0; i < m_song.lines.size(); ++i) {
        font.setPixelSize(i == 0 ? titleSize : titleSize * 2 / 3);
        font.setBold(i == 0);
        painter.setFont(font);
        const int lineHeight = font.pixelSize() * 2;
        const QRect line(area.left(), y, area.width(), lineHeight);
        painter.drawText(
            line, align, QFontMetrics(font).elidedText(m_song.lines[i], Qt::ElideRight, area.width()));
        y += lineHeight;
    }
    return y;
}

void VideoSurface::setLyricsLine(int line)
{
    if (line == m_lyricsLine)
        return;
    m_lyricsLine = line;
    if (m_song.lyrics && !m_song.lyrics->empty())
        update();
}

bool VideoSurface::clickLyric(const QPoint& at)
{
    const int ms = lyricAt(m_lyricRows, at);
    if (ms < 0 || !onLyricClicked)
        return false;
    onLyricClicked(ms);
    return true;
}

} // namespace gui
