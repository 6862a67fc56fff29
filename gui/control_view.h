#pragma once
// The base of the views of controls: one view class per control kind, each a Qt widget that
// shows its control and turns the person's input into the control's events.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

namespace runtime {
class Control;
class Form;
struct MouseEvent;
} // namespace runtime

namespace gui {

class Session;

// Stacking of views inside a window: pictures and labels lie under everything else (they
// are drawn on the window itself), then the video, then the page areas (a page shown over a
// video covers it), then the other controls.
enum class Layer { Graphic = 0, Video = 1, Engine = 2, Windowed = 3 };

// What a relay does with the mouse besides forwarding it.
struct RelayOptions {
    // Raise the click event when the left button is released over the widget.
    bool clickOnRelease = true;
    // Keep the right button from reaching the widget (a list keeps its selection, as the
    // windows expect when they pop up a menu on it).
    bool swallowRightPress = false;
    // Take the mouse events, so they do not reach the window under a control that has no use
    // for them itself (labels, pictures, frames).
    bool consume = false;
};

class ControlView {
public:
    ControlView(Session& session, runtime::Control& control);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    // The widget that shows the control.
    virtual QWidget* widget() = 0;
    // The control, or nullptr once the view has been detached from it.
    [[nodiscard]] runtime::Control* control() const { return m_control; }
    // Where the view lies among the others of its window.
    [[nodiscard]] virtual Layer layer() const { return Layer::Windowed; }
    // Updates the widget when the control changed since the last call.
    void sync();
    // Forgets the control (its window is going away); the widget stays until deleted.
    virtual void detach();
    // The zoom changed: the widget is laid out anew at the next update.
    void rezoom() { m_revision = 0; }

    // Raises a control event from the person's input and brings the views up to date.
    void fire(const std::function<void(runtime::Control&)>& event);
    // The desktop session the view belongs to.
    [[nodiscard]] Session& session() const { return m_session; }

protected:
    // Updates what is particular to the kind (text, items, pictures...).
    virtual void syncKind(runtime::Control& control) = 0;
    // Forwards mouse input and file drops on a widget (the view's own widget or an inner
    // part such as a list's viewport) to the control. Deleting the returned relay stops it.
    QObject* relay(QWidget* part, RelayOptions options = {});

private:
    Session& m_session;
    runtime::Control* m_control;
    uint64_t m_revision = 0;
    std::vector<QPointer<QWidget>> m_parts;
};

// Mouse events of the runtime from Qt's, positions in the window's scale relative to `origin`.
runtime::MouseEvent mouseEventOf(const runtime::Form& form, const QWidget* origin, const QWidget* source,
    QPointF position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The runtime's number of a mouse button (left 1, right 2, middle 4; 0 for none).
int buttonNumber(Qt::MouseButtons buttons);
// The local files of a drop (addresses that are not local files are left out).
std::vector<std::string> droppedFiles(const QMimeData* mime);

// Creates the view of a control inside `parent`, or nullptr for kinds without a view
// (timers and menus).
ControlView* createControlView(Session& session, runtime::Control& control, QWidget* parent);

} // namespace gui
