#include "gui/transport_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <cmath>

#include "gui/session.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// The bar's own look: light controls on a dark strip, whatever the skin.
const QColor kBarColour(0x20, 0x20, 0x20);
const QColor kBarText(0xE0, 0xE0, 0xE0);

enum class Glyph { Play, Pause, Stop, Volume, Muted, FullScreen };

// The bar's icons, drawn in the bar's text colour so they show on its dark strip.
QIcon glyphIcon(Glyph glyph)
{
    QPixmap pixmap(36, 36);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBarText, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kBarText);
    const QPolygonF speaker(
        { QPointF(2, 7), QPointF(6, 7), QPointF(10, 3), QPointF(10, 15), QPointF(6, 11), QPointF(2, 11) });
    switch (glyph) {
    case Glyph::Play:
        p.drawPolygon(QPolygonF({ QPointF(5, 3), QPointF(15, 9), QPointF(5, 15) }));
        break;
    case Glyph::Pause:
        p.drawRect(QRectF(4, 3, 3, 12));
        p.drawRect(QRectF(11, 3, 3, 12));
        break;
    case Glyph::Stop:
        p.drawRect(QRectF(4, 4, 10, 10));
        break;
    case Glyph::Volume:
        p.drawPolygon(speaker);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 5, 6, 8), -60 * 16, 120 * 16);
        p.drawArc(QRectF(6, 2, 10, 14), -60 * 16, 120 * 16);
        break;
    case Glyph::Muted:
        p.drawPolygon(speaker);
        p.drawLine(QPointF(12, 6), QPointF(17, 12));
        p.drawLine(QPointF(17, 6), QPointF(12, 12));
        break;
    case Glyph::FullScreen:
        p.setBrush(Qt::NoBrush);
        for (const QPolygonF& corner : { QPolygonF({ QPointF(2, 7), QPointF(2, 2), QPointF(7, 2) }),
                 QPolygonF({ QPointF(11, 2), QPointF(16, 2), QPointF(16, 7) }),
                 QPolygonF({ QPointF(16, 11), QPointF(16, 16), QPointF(11, 16) }),
                 QPolygonF({ QPointF(7, 16), QPointF(2, 16), QPointF(2, 11) }) })
            p.drawPolyline(corner);
        break;
    }
    p.end();
    return QIcon(pixmap);
}

// A click on a slider's groove puts the thumb there and keeps it under the pointer for a
// drag, as media players do, instead of stepping a page towards the pointer.
class JumpStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void setText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

bool playing(int state)
{
    return state == runtime::PlayPlaying || state == runtime::PlayBuffering || state == runtime::PlayWaiting;
}

} // namespace

QString mediaTimeText(double seconds)
{
    const qint64 whole = std::isfinite(seconds) && seconds > 0 ? static_cast<qint64>(seconds) : 0;
    const qint64 h = whole / 3600;
    const qint64 m = whole / 60 % 60;
    const qint64 s = whole % 60;
    auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(two(m), two(s));
    return QStringLiteral("%1:%2").arg(m).arg(two(s));
}

TransportBar::TransportBar(Session& session, runtime::MediaPlayer& player, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_player(&player)
{
    setObjectName(QStringLiteral("transportbar"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kBarColour);
    p.setColor(QPalette::WindowText, kBarText);
    p.setColor(QPalette::ButtonText, kBarText);
    // Pressed and hovered buttons stay dark under their light glyphs.
    p.setColor(QPalette::Button, kBarColour.lighter(180));
    setPalette(p);

    m_play = button(QStringLiteral("播放"));
    m_stop = button(QStringLiteral("停止"));
    m_stop->setIcon(glyphIcon(Glyph::Stop));
    m_elapsed = new QLabel(this);
    m_position = new QSlider(Qt::Horizontal, this);
    m_position->setFocusPolicy(Qt::NoFocus);
    m_position->setToolTip(QStringLiteral("播放进度"));
    m_total = new QLabel(this);
    m_mute = button(QStringLiteral("静音"));
    m_volume = new QSlider(Qt::Horizontal, this);
    m_volume->setRange(0, 100);
    m_volume->setFocusPolicy(Qt::NoFocus);
    m_volume->setFixedWidth(80);
    m_volume->setToolTip(QStringLiteral("音量"));
    m_fullScreen = button(QStringLiteral("全屏"));
    m_fullScreen->setIcon(glyphIcon(Glyph::FullScreen));
    auto* jump = new JumpStyle;
    jump->setParent(this);
    m_position->setStyle(jump);
    m_volume->setStyle(jump);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(6);
    row->addWidget(m_play);
    row->addWidget(m_stop);
    row->addWidget(m_elapsed);
    row->addWidget(m_position, 1);
    row->addWidget(m_total);
    row->addWidget(m_mute);
    row->addWidget(m_volume);
    row->addWidget(m_fullScreen);

    connect(m_play, &QToolButton::clicked, this, [this] { act([](auto& c) { c.playOrPause(); }); });
    connect(m_stop, &QToolButton::clicked, this, [this] { act([](auto& c) { c.stopByUser(); }); });
    connect(m_mute, &QToolButton::clicked, this, [this] { act([](auto& c) { c.setMute(!c.mute()); }); });
    connect(m_fullScreen, &QToolButton::clicked, this, [this] {
        if (onFullScreen)
            onFullScreen();
    });
    // The position moves the medium when the thumb is let go, or at once for a click or a
    // key on the groove; the volume follows the thumb.
    connect(m_position, &QSlider::sliderReleased, this, [this] { seekToSlider(); });
    connect(m_position, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(
                this, [this] { seekToSlider(); }, Qt::QueuedConnection);
    });
    connect(m_volume, &QSlider::valueChanged, this, [this](int v) {
        if (m_player && v != m_player->volume())
            act([v](auto& c) { c.setVolume(v); });
    });
    setHasVideo(false);
    refresh();
}

QToolButton* TransportBar::button(const QString& tip)
{
    auto* b = new QToolButton(this);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setAutoRaise(true);
    // Space belongs to the player (pause), not to the button that was clicked last.
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(18, 18));
    // A fixed size keeps every part at the same place for any medium.
    b->setFixedSize(kButtonSize, kButtonSize);
    return b;
}

void TransportBar::act(const std::function<void(runtime::MediaPlayer&)>& action)
{
    if (!m_player)
        return;
    m_session.run([this, action] {
        if (m_player)
            action(*m_player);
    });
    refresh();
}

void TransportBar::seekBy(double seconds)
{
    act([seconds](auto& c) {
        if (c.duration() > 0)
            c.seek(c.position() + seconds);
    });
}

void TransportBar::changeVolume(int step)
{
    act([step](auto& c) { c.setVolume(c.volume() + step); });
}

void TransportBar::seekToSlider()
{
    const double seconds = m_position->sliderPosition() / 1000.0;
    act([seconds](auto& c) { c.seek(seconds); });
}

int TransportBar::thumbPixel(int value) const
{
    return QStyle::sliderPositionFromValue(
        m_position->minimum(), m_position->maximum(), value, std::max(1, m_position->width()));
}

void TransportBar::setHasVideo(bool hasVideo)
{
    m_fullScreen->setEnabled(hasVideo);
}

void TransportBar::refresh()
{
    if (!m_player)
        return;
    const runtime::MediaPlayer& c = *m_player;
    const bool isPlaying = playing(c.playState());
    if (m_shownPlaying != static_cast<int>(isPlaying)) {
        m_shownPlaying = isPlaying;
        m_play->setIcon(glyphIcon(isPlaying ? Glyph::Pause : Glyph::Play));
        m_play->setToolTip(isPlaying ? QStringLiteral("暂停") : QStringLiteral("播放"));
        m_play->setAccessibleName(m_play->toolTip());
    }
    const double length = c.duration();
    const double at = c.position();
    m_position->setEnabled(length > 0);
    m_position->setRange(0, static_cast<int>(std::llround(std::max(length, 0.0) * 1000)));
    const int value = static_cast<int>(std::llround(std::max(at, 0.0) * 1000));
    // Sound: the player reports its position ten times a second; the thumb is moved only when
    // it lands on another pixel and a time only when its text changes, so a song that plays
    // repaints the bar about once a second instead of at every report.
    if (!m_position->isSliderDown() && thumbPixel(value) != thumbPixel(m_position->value()))
        m_position->setValue(value);
    setText(
        m_elapsed, mediaTimeText(m_position->isSliderDown() ? m_position->sliderPosition() / 1000.0 : at));
    setText(m_total, mediaTimeText(length));
    if (m_shownMute != static_cast<int>(c.mute())) {
        m_shownMute = c.mute();
        m_mute->setIcon(glyphIcon(c.mute() ? Glyph::Muted : Glyph::Volume));
        m_mute->setToolTip(c.mute() ? QStringLiteral("取消静音") : QStringLiteral("静音"));
    }
    if (!m_volume->isSliderDown() && m_volume->value() != c.volume())
        m_volume->setValue(c.volume());
}

} // namespace gui
