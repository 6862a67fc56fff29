#include "gui/lyrics_bar_view.h"

#include <QPainter>

#include "gui/look.h"
#include "gui/lyrics_follower.h"
#include "gui/media_engine.h"
#include "gui/session.h"
#include "platform/media_remote.h"
#include "runtime/app.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// How often the bar looks for a player's engine while there is none (a song not yet played).
constexpr int kRetryMs = 1000;
// What the bar shows while the song has no lyrics.
const char* const kNoLyrics = "Zelvora 桌面歌词";
// The shortest time between two repaints of the fill (25 a second).
constexpr int kFrameMs = 40;

} // namespace

LyricsBarView::LyricsBarView(Session& session, runtime::LyricsBar& bar, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, bar)
{
    // Presses drag the window and open its menu; they never reach what lies under the bar.
    relay(this, RelayOptions { false, true, true });
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { attach(); });
    m_lines[0] = QString::fromUtf8(kNoLyrics);
    m_sinceUpdate.start();
}

LyricsBarView::~LyricsBarView() = default;

void LyricsBarView::syncKind(runtime::Control&)
{
    m_stale = true;
    update();
}

void LyricsBarView::showEvent(QShowEvent*)
{
    attach();
}

void LyricsBarView::attach()
{
    runtime::App& app = session().app();
    runtime::MediaPlayer* player
        = app.hasService<platform::MediaRemote>() ? app.service<platform::MediaRemote>().player() : nullptr;
    MpvMediaEngine* engine = player ? session().mediaEngineOf(*player) : nullptr;
    if (!engine) {
        if (isVisible())
            m_retry.start();
        return;
    }
    if (engine == m_engine)
        return;
    m_engine = engine;
    m_follower = std::make_unique<LyricsFollower>(app, *player);
    // The engine forgets the listener when this view goes; a new engine is found once the
    // old one has gone (its pointer is then null).
    engine->addPositionListener(this, [this](double seconds) { positionMoved(seconds); });
    connect(engine, &QObject::destroyed, this, [this] { m_retry.start(); });
    positionMoved(engine->position());
}

void LyricsBarView::positionMoved(double seconds)
{
    if (!m_follower || !isVisible())
        return;
    const bool changed = m_follower->refresh();
    const lyrics::Lyrics& lyrics = *m_follower->lyrics();
    const int line = lyrics.timed() ? std::max(0, m_follower->lineAt(seconds)) : -1;
    if (changed || line != m_line) {
        m_line = line;
        const auto textOf = [&](int i) {
            return i >= 0 && i < static_cast<int>(lyrics.lines.size())
                ? QString::fromStdString(lyrics.lines[static_cast<size_t>(i)].text)
                : QString();
        };
        const int shown = std::max(0, line);
        m_lines[0] = lyrics.empty() ? QString::fromUtf8(kNoLyrics) : textOf(shown);
        // A translation goes under its line; else the next line waits there.
        const std::string& translation
            = lyrics.empty() ? std::string() : lyrics.lines[static_cast<size_t>(shown)].translation;
        m_lines[1] = !translation.empty() ? QString::fromStdString(translation) : textOf(shown + 1);
        m_stale = true;
    }
    m_share = line >= 0 && m_follower->lineAt(seconds) >= 0
        ? lyrics::sungShare(lyrics.lines[static_cast<size_t>(line)], msOf(seconds), m_follower->endOf(line))
        : 0;
    // A repaint of the sung line only when its fill has moved by a pixel, at most every
    // kFrameMs: the cost stays small while the song plays.
    // Only the strip between the old and the new end of the fill is drawn again.
    const int pixels = static_cast<int>(m_share * m_sungWidth);
    if (m_stale) {
        update();
    } else if (pixels != m_fillPixels && m_sinceUpdate.elapsed() >= kFrameMs) {
        const int from = std::min(pixels, std::max(0, m_fillPixels));
        const int to = std::max(pixels, m_fillPixels);
        update(QRect(m_sungLeft + from - 1, 0, to - from + 2, height() / 2 + 1));
    } else {
        return;
    }
    m_fillPixels = pixels;
    m_sinceUpdate.restart();
}

void LyricsBarView::resizeEvent(QResizeEvent*)
{
    m_stale = true;
}

void LyricsBarView::paintEvent(QPaintEvent*)
{
    if (m_stale)
        render();
    // The bar draws every pixel it covers, its clear background included: nothing under it
    // is drawn again for a strip of fill.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), m_drawn);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_share > 0) {
        // The sung part: the same line in the fill colour, as far as it has been sung.
        const qreal ratio = m_sung.devicePixelRatio();
        const QRect part(m_sungLeft, 0, static_cast<int>(m_sungWidth * m_share), height() / 2 + 1);
        painter.drawImage(part, m_sung,
            QRectF(part.left() * ratio, part.top() * ratio, part.width() * ratio, part.height() * ratio));
    }
}

void LyricsBarView::render()
{
    m_stale = false;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    for (QImage* image : { &m_drawn, &m_sung }) {
        *image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image->setDevicePixelRatio(ratio);
        image->fill(Qt::transparent);
    }
    const runtime::Control* c = control();
    if (!c)
        return;
    const auto* bar = static_cast<const runtime::LyricsBar*>(c);
    QPainter drawn(&m_drawn);
    QPainter sung(&m_sung);
    const QRect first = paintLine(drawn, m_lines[0], 0, toQColor(c->foreColor()));
    paintLine(sung, m_lines[0], 0, toQColor(bar->fillColor()));
    paintLine(drawn, m_lines[1], 1, toQColor(c->foreColor()));
    m_sungLeft = first.left();
    m_sungWidth = first.width();
}

QRect LyricsBarView::paintLine(QPainter& painter, const QString& text, int row, const QColor& colour)
{
    const runtime::Control* c = control();
    if (!c || text.isEmpty())
        return {};
    const auto* bar = static_cast<const runtime::LyricsBar*>(c);
    QFont font = toQFont(c->fontName(), c->fontSize(), c->fontBold());
    if (row == 1)
        font.setPointSizeF(font.pointSizeF() * 0.85);
    const QFontMetrics metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, width() - 16);
    const int textWidth = metrics.horizontalAdvance(shown);
    // The sung line on the left of the upper row, the one under it on the right of the lower.
    const int x = row == 0 ? 8 : std::max(8, width() - 8 - textWidth);
    // Each line in the middle of its half, by its baseline.
    const int band = height() / 2;
    const int baseline = row * band + (band + metrics.ascent() - metrics.descent()) / 2;
    // The outline: the text in the outline colour around its place, then the text over it.
    // Drawn glyphs come from the glyph cache, far cheaper than stroking their outlines.
    painter.setFont(font);
    painter.setPen(toQColor(bar->outlineColor()));
    const int r = std::max(1, metrics.height() / 18);
    for (int dx = -r; dx <= r; ++dx) {
        for (int dy = -r; dy <= r; ++dy) {
            if ((dx != 0 || dy != 0) && dx * dx + dy * dy <= r * r + 1)
                painter.drawText(QPoint(x + dx, baseline + dy), shown);
        }
    }
    painter.setPen(colour);
    painter.drawText(QPoint(x, baseline), shown);
    return QRect(x, row * band, textWidth, band);
}

} // namespace gui
