#include "gui/basic_views.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

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
    // Disabled labels draw their caption greyed, as the platform does.
    painter.setPen(
        c->enabled() ? toQColor(c->foreColor()) : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(rect(), static_cast<int>(alignmentOf(c->alignment()) | Qt::AlignTop | Qt::TextWordWrap),
        qs(c->caption()));
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
            painter.drawPixmap(0, 0, pixmapOf(c->picture()));
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
