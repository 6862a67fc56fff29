#pragma once
// Views of the controls a person types into or operates: text boxes, buttons, option
// buttons and check boxes, and sliders.
#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <memory>

#include "gui/control_view.h"

namespace runtime {
class TextBox;
class HScrollBar;
} // namespace runtime

namespace gui {

// A text box: a one-line editor, or a multi-line one when the box is multi-line. Typing
// changes the text box's text (and raises its change event).
class TextBoxView : public QWidget, public ControlView {
public:
    TextBoxView(Session& session, runtime::TextBox& text, QWidget* parent);
    QWidget* widget() override { return this; }
    // The editor currently shown (for tests and the screenshot tool).
    [[nodiscard]] QWidget* editor() const;

protected:
    void syncKind(runtime::Control& control) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build(bool multiLine);
    void edited(const QString& text);

    // One editor at a time, owned here and shown inside the view.
    std::unique_ptr<QLineEdit> m_line;
    std::unique_ptr<QPlainTextEdit> m_multi;
    bool m_updating = false;
};

// A push button; pressing it raises the click event. A caption wider than the button wraps
// onto more lines, centred, as the platform's buttons do.
class ButtonView : public QPushButton, public ControlView {
public:
    ButtonView(Session& session, runtime::Control& button, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(runtime::Control& control) override;
    void paintEvent(QPaintEvent* event) override;
};

// An option button or a check box; the control decides the value, the view shows it.
class ChoiceView : public QWidget, public ControlView {
public:
    ChoiceView(Session& session, runtime::Control& choice, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(runtime::Control& control) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAbstractButton* m_button;
};

// A horizontal slider; moving it sets the value (and raises the change event).
class ScrollBarView : public QScrollBar, public ControlView {
public:
    ScrollBarView(Session& session, runtime::HScrollBar& bar, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(runtime::Control& control) override;

private:
    bool m_updating = false;
};

// Sets a widget's background and text colours from a control's, in every state.
void applyColors(QWidget& widget, const runtime::Control& control, QPalette::ColorRole background,
    QPalette::ColorRole text);

} // namespace gui
