#include "gui/basic_views.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>

#include "gui/contrast.h"
#include "gui/form_view.h"
#include "gui/look.h"
#include "runtime/controls.h"

namespace gui {

namespace {

// The single fixed border of controls whose border style is 1.
void drawBorder(QPainter& painter, const QRect& rect)
{
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

// What a label's caption is drawn on: its own colour when it is opaque, else what its window
// (or the container it sits in) draws under it.
QColor colourBehind(const QWidget& label, const runtime::Control& c)
{
    if (c.backStyle() == runtime::Opaque)
        return toQColor(c.backColor());
    QWidget* parent = label.parentWidget();
    if (dynamic_cast<FormView*>(parent))
        return formColourIn(c.form(), label.geometry());
    if (auto* container = dynamic_cast<ControlView*>(parent); container && container->control())
        return toQColor(container->control()->backColor());
    return parent ? parent->palette().color(QPalette::Window) : toQColor(c.backColor());
}

// A caption that ends in a run of bar marks on a label that has a bar length: the text before
// the marks on one line, then the marks as blocks spread over the rest of the label's width,
// full marks ending exactly at its end. False (nothing drawn) for any other caption.
bool drawBar(QPainter& painter, const QRect& area, const runtime::Control& control)
{
    const auto* label = dynamic_cast<const runtime::Label*>(&control);
    if (!label || label->barMarks() <= 0)
        return false;
    const QString caption = qs(label->caption());
    const QChar mark(0x25A0);
    qsizetype start = caption.size();
    while (start > 0 && caption[start - 1] == mark)
        --start;
    const QString prefix = caption.left(start);
    if (start == caption.size() || prefix.contains(QLatin1Char('\n')))
        return false;
    const QFontMetrics metrics(painter.font());
    painter.drawText(area, static_cast<int>(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine), prefix);
    const int left = area.left() + metrics.horizontalAdvance(prefix);
    const double cell = static_cast<double>(area.right() + 1 - left) / label->barMarks();
    // The marks stand where the font draws its "■", a pixel apart where they are wide enough.
    const QRect glyph = metrics.tightBoundingRect(QString(mark));
    const int top = area.top() + metrics.ascent() + glyph.top();
    const int gap = cell >= 3 ? 1 : 0;
    const qsizetype marks = std::min<qsizetype>(caption.size() - start, label->barMarks());
    for (qsizetype i = 0; i < marks; ++i) {
        const int from
            = left + static_cast<int>(std::lround(static_cast<double>(i) * cell)) + (i > 0 ? gap : 0);
        const int to = left + static_cast<int>(std::lround(static_cast<double>(i + 1) * cell));
        painter.fillRect(QRect(from, top, std::max(1, to - from), glyph.height()), painter.pen().color());
    }
    return true;
}

} // namespace

LabelView::LabelView(Session& session, runtime::Control& label, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, label)
{
    relay(this, RelayOptions { true, false, true });
}

void LabelView::syncKind(runtime::Control&)
{
    update();
}

void LabelView::paintEvent(QPaintEvent*)
{
    const runtime::Control* c = control();
    if (!c)
        return;
    QPainter painter(this);
    if (c->backStyle() == runtime::Opaque)
        painter.fillRect(rect(), toQColor(c->backColor()));
    if (c->borderStyle() == 1)
        drawBorder(painter, rect());
    // Disabled labels draw their caption greyed, as the platform does. Sound: a designed
    // colour that cannot be read on the skin (grey tiles on a picture, light tabs on a pale
    // colour) gives way to black or white.
    painter.setPen(c->enabled() ? readableOn(colourBehind(*this, *c), toQColor(c->foreColor()))
                                : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    if (drawBar(painter, rect(), *c))
        return;
    const int flags = static_cast<int>(alignmentOf(c->alignment()) | Qt::AlignTop | Qt::TextWordWrap);
    const QString caption = qs(c->caption());
    painter.setFont(fittedFont(font(), rect(), flags, caption));
    painter.drawText(rect(), flags, caption);
}

PictureView::PictureView(Session& session, runtime::PictureBox& picture, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, picture)
    , m_image(picture.kind() == runtime::ControlKind::Image)
{
    relay(this, RelayOptions { true, false, true });
}

Layer PictureView::layer() const
{
    return m_image ? Layer::Graphic : Layer::Windowed;
}

void PictureView::syncKind(runtime::Control&)
{
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    const auto* c = static_cast<const runtime::PictureBox*>(control());
    if (!c)
        return;
    QPainter painter(this);
    if (!m_image)
        painter.fillRect(rect(), toQColor(c->backColor()));
    if (!c->picture().empty()) {
        if (m_image && c->stretch()) {
            painter.drawPixmap(0, 0, scaledPixmapOf(c->picture(), size()));
        } else {
            drawZoomedPixmap(painter, pixmapOf(c->picture()));
        }
    }
    if (c->borderStyle() == 1)
        drawBorder(painter, rect());
}

FrameView::FrameView(Session& session, runtime::Control& frame, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, frame)
{
    relay(this, RelayOptions { true, false, true });
}

void FrameView::syncKind(runtime::Control&)
{
    update();
}

void FrameView::paintEvent(QPaintEvent*)
{
    const runtime::Control* c = control();
    if (!c)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(c->backColor()));
    const QString caption = qs(c->caption());
    const int top = caption.isEmpty() ? 0 : fontMetrics().height() / 2;
    if (c->borderStyle() != 0 || !caption.isEmpty()) {
        QStyleOptionFrame option;
        option.initFrom(this);
        option.rect = rect().adjusted(0, top, 0, 0);
        option.features = QStyleOptionFrame::None;
        option.lineWidth = 1;
        style()->drawPrimitive(QStyle::PE_FrameGroupBox, &option, &painter, this);
    }
    if (!caption.isEmpty()) {
        const QRect text = fontMetrics().boundingRect(caption).translated(8, fontMetrics().ascent());
        painter.fillRect(text.adjusted(-2, 0, 2, 0), toQColor(c->backColor()));
        painter.setPen(toQColor(c->foreColor()));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, caption);
    }
}

} // namespace gui
