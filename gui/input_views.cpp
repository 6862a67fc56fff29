#include "gui/input_views.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

#include "gui/contrast.h"
#include "gui/look.h"
#include "runtime/controls.h"

namespace gui {

namespace {

// Multi-line text is held with CR LF line ends; editors use line feeds.
QString toEditorText(const std::string& text)
{
    return qs(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string fromEditorText(const QString& text)
{
    QString t = text;
    return utf8(t.replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}

} // namespace

void applyColors(QWidget& widget, const runtime::Control& control, QPalette::ColorRole background,
    QPalette::ColorRole text)
{
    QPalette palette = widget.palette();
    const QColor back = toQColor(control.backColor());
    // Sound: list and box text stays readable on a skin colour (white text on a light one).
    const QColor fore = readableOn(back, toQColor(control.foreColor()));
    for (auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        palette.setColor(group, background, back);
    palette.setColor(QPalette::Active, text, fore);
    palette.setColor(QPalette::Inactive, text, fore);
    if (palette != widget.palette())
        widget.setPalette(palette);
}

TextBoxView::TextBoxView(Session& session, runtime::TextBox& text, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, text)
{
    build(text.multiLine());
}

QWidget* TextBoxView::editor() const
{
    if (m_multi)
        return m_multi.get();
    return m_line.get();
}

void TextBoxView::build(bool multiLine)
{
    m_line.reset();
    m_multi.reset();
    if (multiLine) {
        m_multi = std::make_unique<QPlainTextEdit>(this);
        m_multi->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        connect(
            m_multi.get(), &QPlainTextEdit::textChanged, this, [this] { edited(m_multi->toPlainText()); });
        relay(m_multi->viewport());
    } else {
        m_line = std::make_unique<QLineEdit>(this);
        connect(m_line.get(), &QLineEdit::textEdited, this, [this](const QString& t) { edited(t); });
        relay(m_line.get());
    }
    editor()->setGeometry(rect());
    editor()->show();
}

void TextBoxView::edited(const QString& text)
{
    if (m_updating)
        return;
    const std::string value = m_multi ? fromEditorText(text) : utf8(text);
    fire([&](runtime::Control& c) { static_cast<runtime::TextBox&>(c).setText(value); });
}

void TextBoxView::syncKind(runtime::Control& control)
{
    auto& box = static_cast<runtime::TextBox&>(control);
    QScopedValueRollback<bool> guard(m_updating, true);
    if (box.multiLine() != static_cast<bool>(m_multi))
        build(box.multiLine());
    const Qt::Alignment align = alignmentOf(box.alignment());
    if (m_multi) {
        const QString text = toEditorText(box.text());
        if (m_multi->toPlainText() != text)
            m_multi->setPlainText(text);
        m_multi->setReadOnly(box.locked());
        m_multi->setFrameShape(box.borderStyle() == 1 ? QFrame::StyledPanel : QFrame::NoFrame);
        QTextOption option = m_multi->document()->defaultTextOption();
        if (option.alignment() != align) {
            option.setAlignment(align);
            m_multi->document()->setDefaultTextOption(option);
        }
    } else {
        const QString text = qs(box.text());
        if (m_line->text() != text)
            m_line->setText(text);
        m_line->setReadOnly(box.locked());
        m_line->setFrame(box.borderStyle() == 1);
        m_line->setAlignment(align | Qt::AlignVCenter);
    }
    applyColors(*editor(), box, QPalette::Base, QPalette::Text);
}

void TextBoxView::resizeEvent(QResizeEvent*)
{
    if (QWidget* e = editor())
        e->setGeometry(rect());
}

ButtonView::ButtonView(Session& session, runtime::Control& button, QWidget* parent)
    : QPushButton(parent)
    , ControlView(session, button)
{
    relay(this, RelayOptions { false, false });
    connect(this, &QPushButton::clicked, this, [this] { fire([](runtime::Control& c) { c.click(); }); });
}

void ButtonView::syncKind(runtime::Control& control)
{
    setText(qs(control.caption()));
}

void ButtonView::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
            style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    // The caption keeps to the button: lines that do not fit are cut at the bevel.
    painter.setClipRect(rect().adjusted(2, 2, -2, -2));
    painter.drawText(
        area, static_cast<int>(Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic), caption);
}

ChoiceView::ChoiceView(Session& session, runtime::Control& choice, QWidget* parent)
    : QWidget(parent)
    , ControlView(session, choice)
{
    if (choice.kind() == runtime::ControlKind::OptionButton) {
        auto* radio = new QRadioButton(this);
        // The option group lives in the runtime (per frame), not in Qt.
        radio->setAutoExclusive(false);
        m_button = radio;
    } else {
        m_button = new QCheckBox(this);
    }
    setAutoFillBackground(true);
    relay(m_button, RelayOptions { false, false });
    connect(
        m_button, &QAbstractButton::clicked, this, [this] { fire([](runtime::Control& c) { c.click(); }); });
}

void ChoiceView::syncKind(runtime::Control& control)
{
    m_button->setText(qs(control.caption()));
    bool checked = false;
    if (control.kind() == runtime::ControlKind::OptionButton)
        checked = static_cast<runtime::OptionButton&>(control).value();
    else
        checked = static_cast<runtime::CheckBox&>(control).value() != 0;
    m_button->setChecked(checked);
    m_button->setCheckable(true);
    applyColors(*this, control, QPalette::Window, QPalette::WindowText);
    applyColors(*m_button, control, QPalette::Window, QPalette::WindowText);
}

void ChoiceView::resizeEvent(QResizeEvent*)
{
    m_button->setGeometry(rect());
}

ScrollBarView::ScrollBarView(Session& session, runtime::HScrollBar& bar, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent)
    , ControlView(session, bar)
{
    // The change event comes when the thumb is let go, as on the platform the windows
    // were written for, not at every pixel of a drag.
    setTracking(false);
    relay(this, RelayOptions { false, false });
    connect(this, &QScrollBar::valueChanged, this, [this](int v) {
        if (m_updating)
            return;
        fire([v](runtime::Control& c) { static_cast<runtime::HScrollBar&>(c).setValue(v); });
    });
}

void ScrollBarView::syncKind(runtime::Control& control)
{
    auto& bar = static_cast<runtime::HScrollBar&>(control);
    QScopedValueRollback<bool> guard(m_updating, true);
    // The minimum is always at the left end; when it is the larger number, an inverted Qt
    // bar (larger end on the left) shows it so.
    setInvertedAppearance(bar.min() > bar.max());
    setRange(std::min(bar.min(), bar.max()), std::max(bar.min(), bar.max()));
    setValue(bar.value());
}

} // namespace gui
