#include "gui/lyrics_bar_view.h"

#include <QPainter>
#include <QPainterPath>

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

} // namespace

LyricsBarView::LyricsBarView(Session& session, runtime::LyricsBar& bar, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, bar)
{
    // Presses drag the window and open its menu; they never reach what lies under the bar.
    relay(this, RelayOptions { false, true, true });
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { attach(); });
    m_lines[0] = QString::fromUtf8(kNoLyrics);
}

LyricsBarView::~LyricsBarView() = default;

void LyricsBarView::syncKind(runtime::Control&)
{
    m_fillPixels = -1;
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
    auto* engine = player && player->hasEngine() ? dynamic_cast<MpvMediaEngine*>(&player->engine()) : nullptr;
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
        m_fillPixels = -1;
    }
    m_share = line >= 0 && m_follower->lineAt(seconds) >= 0
        ? lyrics::sungShare(lyrics.lines[static_cast<size_t>(line)], msOf(seconds), m_follower->endOf(line))
        : 0;
    // A repaint only when the fill has moved by a pixel: the cost stays small while it plays.
    const int pixels = static_cast<int>(m_share * width());
    if (pixels != m_fillPixels) {
        m_fillPixels = pixels;
        update();
    }
}

void LyricsBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintLine(painter, m_lines[0], 0, m_share);
    paintLine(painter, m_lines[1], 1, 0);
}

void LyricsBarView::paintLine(QPainter& painter, const QString& text, int row, double share)
{
    const runtime::Control* c = control();
    if (!c || text.isEmpty())
        return;
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
    QPainterPath path;
    path.addText(x, baseline, font, shown);
    painter.setPen(QPen(toQColor(bar->outlineColor()), std::max(2.0, metrics.height() / 9.0), Qt::SolidLine,
        Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.fillPath(path, toQColor(c->foreColor()));
    if (share > 0) {
        painter.save();
        painter.setClipRect(QRectF(x, 0, textWidth * share, height()));
        painter.fillPath(path, toQColor(bar->fillColor()));
        painter.restore();
    }
}

} // namespace gui
