#pragma once
// The view of one window: a top-level Qt window with the window's geometry, frame, owner,
// modality, background (colour, picture, stretched skin) and the views of its controls.
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>

namespace runtime {
class Control;
class Form;
} // namespace runtime

namespace gui {

class ControlView;
class Session;

class FormView : public QWidget {
public:
    FormView(Session& session, runtime::Form& form);
    ~FormView() override;

    // The window; valid while the view is attached (the renderer keeps only attached views).
    [[nodiscard]] runtime::Form& form() const { return *m_form; }
    [[nodiscard]] bool attached() const { return m_form != nullptr; }
    // Brings the window and its controls' views up to date.
    void sync();
    // Forgets the window (it is being unloaded) and hides.
    void detach();
    // The owner's view is going away.
    void ownerGone(FormView& owner);
    // The view of a control of this window, or nullptr.
    [[nodiscard]] ControlView* viewOf(const runtime::Control& control) const;
    // The desktop asks to close the window (its frame's close button, a key): the window's
    // close handler decides, else the window is unloaded, as the windows expect.
    void closedByDesktop();
    // Another program destroyed the window: it is unloaded.
    void destroyedByDesktop();
    // Hands a drag the window started to the window system's own move where programs may not
    // place their windows (Wayland); the window's drag then ends.
    void systemMoveIfDragging();
    // The zoom changed: the window and its controls are laid out anew at the next update.
    void rezoom();
    // The screen's work area changed: the window is fitted to it again at the next update.
    void refit() { m_fittedSize = QSize(); }
    // Whether the view has been painted since it was last shown.
    [[nodiscard]] bool paintedOnce() const { return m_painted; }
    std::function<void()> onPainted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void syncWindow();
    void placeWindow();
    // A floating window: always on top, clear where it draws nothing, clicks passing
    // through it while the window says so.
    void floatOver();
    // The window's colour, picture and stretched skin picture.
    void paintBackground(QPainter& painter);
    void syncControls();
    void syncVisibility();
    ControlView* ensureView(runtime::Control& control);
    void restack();
    void raiseWithOwned();
    // Makes the window owned by that view's (none: nullptr): above it, or inside it.
    void ownedBy(FormView* ownerView);
    // Whether the window is drawn inside its owner's window (see embeddable).
    [[nodiscard]] bool embedded() const { return parentWidget() != nullptr; }
    bool embeddable(const FormView* ownerView) const;
    void unembed();
    void raiseOwned();
    void restoreOwners();
    void fitOnScreen();
    void raiseOnForm(const std::function<void(runtime::Form&)>& event);
    [[nodiscard]] QRect pixelGeometry() const;

    Session& m_session;
    runtime::Form* m_form;
    uint64_t m_revision = 0;
    std::map<const runtime::Control*, ControlView*> m_views;
    QPointer<FormView> m_ownerView;
    bool m_frameless = false;
    bool m_floating = false;
    bool m_modal = false;
    bool m_painted = false;
    bool m_applying = false;
    // The size the window had when it was last fitted on the screen.
    QSize m_fittedSize;
};

} // namespace gui
