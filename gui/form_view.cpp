#include "gui/form_view.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "gui/application.h"
#include "gui/control_view.h"
#include "gui/engine_views.h"
#include "gui/look.h"
#include "gui/renderer.h"
#include "gui/screen_fit.h"
#include "gui/session.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/desktop_close.h"
#include "runtime/form.h"

namespace gui {

namespace {

// A window's place and size in screen pixels (whole-window geometry is in twips).
QRect pixelGeometryOf(const runtime::Form& form)
{
    // An owned window keeps its place beside its owner exactly, whatever the rounding at a zoom.
    QPoint at(screenPixelsOf(form.left()), screenPixelsOf(form.top()));
    if (const runtime::Form* owner = form.owner())
        at = pixelGeometryOf(*owner).topLeft()
            + QPoint(screenPixelsOf(form.left() - owner->left()), screenPixelsOf(form.top() - owner->top()));
    return QRect(
        at, QSize(std::max(1, screenPixelsOf(form.width())), std::max(1, screenPixelsOf(form.height()))));
}

// The zoom at which a group of windows of this designed size (twips) fits the area: 1 where
// it fits as designed. A pixel is kept in hand for the rounding of place and size.
double zoomToFit(QSize twips, const QRect& area)
{
    const double w = twips.width() / static_cast<double>(runtime::kTwipsPerPixel);
    const double h = twips.height() / static_cast<double>(runtime::kTwipsPerPixel);
    if (area.isEmpty() || w <= 0 || h <= 0 || (w <= area.width() && h <= area.height()))
        return 1.0;
    return std::min({ 1.0, (area.width() - 1) / w, (area.height() - 1) / h });
}

} // namespace

FormView::FormView(Session& session, runtime::Form& form)
    : QWidget(nullptr, Qt::Window)
    , m_session(session)
    , m_form(&form)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

FormView::~FormView() = default;

void FormView::detach()
{
    for (auto& [control, view] : m_views) {
        if (view)
            view->detach();
    }
    m_form = nullptr;
    hide();
}

void FormView::ownerGone(FormView& owner)
{
    if (m_ownerView != &owner)
        return;
    m_ownerView = nullptr;
    // An embedded window leaves the owner's before the owner's goes (it would take it along).
    if (parentWidget())
        unembed();
    if (windowHandle())
        windowHandle()->setTransientParent(nullptr);
}

bool FormView::embeddable(const FormView* ownerView) const
{
    // A Wayland compositor places every window as it likes (beside its owner, over it) and
    // lets no native window place itself; through XWayland some keep an X window's place and
    // some do not. There a window glued to its owner is drawn inside the owner's window
    // instead. Dialogs stay windows of their own, which compositors centre.
    return ownerView && !m_form->modal() && compositorPlacesWindows();
}

void FormView::unembed()
{
    hide();
    setParent(nullptr, Qt::Window | (m_frameless ? Qt::FramelessWindowHint : Qt::WindowFlags()));
}

ControlView* FormView::viewOf(const runtime::Control& control) const
{
    auto it = m_views.find(&control);
    return it == m_views.end() ? nullptr : it->second;
}

QRect FormView::pixelGeometry() const
{
    return pixelGeometryOf(*m_form);
}

void FormView::sync()
{
    if (!m_form)
        return;
    QScopedValueRollback<bool> guard(m_applying, true);
    if (m_form->visible() && !m_form->owner() && pixelGeometry().size() != m_fittedSize) {
        m_fittedSize = pixelGeometry().size();
        fitOnScreen();
    }
    if (m_form->revision() != m_revision) {
        m_revision = m_form->revision();
        syncWindow();
        syncControls();
        update();
    }
    syncVisibility();
}

void FormView::fitOnScreen()
{
    // A window that opens on its own keeps its designed place where it fits on the screen;
    // where it does not (a small screen), it moves onto the screen's free area together with
    // the windows glued to it. So it does again when it grows (another window glued below),
    // rather than leave the window manager to move it without the windows knowing.
    std::vector<runtime::Form*> group { m_form };
    for (runtime::Form* form : m_session.app().forms()) {
        if (form->owner() == m_form && form->visible())
            group.push_back(form);
    }
    auto cover = [&group] {
        QRect covered;
        for (runtime::Form* form : group)
            covered |= pixelGeometryOf(*form);
        return covered;
    };
    QRect covered = cover();
    const QScreen* screen = QGuiApplication::screenAt(covered.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // A group larger than the work area (a small or scaled screen, a panel) is not left with
    // its bottom under the panel: the whole program shrinks until the group fits. It never
    // grows back while it runs, so windows do not change size under the person's hands.
    const double fit = zoomToFit(covered.size() * (runtime::kTwipsPerPixel / zoom()), area);
    if (fit < zoom()) {
        setZoom(fit);
        m_session.renderer().rezoom();
        covered = cover();
    }
    const QPoint offset = offsetOntoScreen(covered, area);
    if (offset.isNull())
        return;
    for (runtime::Form* form : group)
        form->move(form->left() + twipsOf(offset.x()), form->top() + twipsOf(offset.y()));
}

void FormView::rezoom()
{
    m_revision = 0;
    for (auto& [control, view] : m_views) {
        if (view)
            view->rezoom();
    }
}

void FormView::syncWindow()
{
    const bool frameless = m_form->ownChrome();
    if (frameless != m_frameless) {
        m_frameless = frameless;
        setWindowFlag(Qt::FramelessWindowHint, frameless);
    }
    floatOver();
    setWindowTitle(qs(m_form->caption()));
    placeWindow();
    setAcceptDrops(static_cast<bool>(m_form->onDragDrop));
}

void FormView::floatOver()
{
    if (m_form->floating() && !m_floating) {
        // Chosen once, before the window first shows: a clear background needs a window
        // with an alpha channel from the start.
        m_floating = true;
        setAttribute(Qt::WA_OpaquePaintEvent, false);
        setAttribute(Qt::WA_TranslucentBackground);
        setWindowFlag(Qt::WindowStaysOnTopHint);
        setWindowFlag(Qt::Tool);
        // No frame from the window manager: a reparenting one (openbox, xfwm) would catch the
        // clicks that should pass through, as its frame does not take the window's input shape.
        setWindowFlag(Qt::X11BypassWindowManagerHint);
    }
    // Changing the flag hides the window; showing it again is the visibility's business.
    if (m_form->clickThrough() != testAttribute(Qt::WA_TransparentForMouseEvents)) {
        setAttribute(Qt::WA_TransparentForMouseEvents, m_form->clickThrough());
        setWindowFlag(Qt::WindowTransparentForInput, m_form->clickThrough());
    }
}

void FormView::placeWindow()
{
    QRect g = pixelGeometry();
    const FormView* owner = m_ownerView.data();
    if (embedded() && owner && owner->m_form)
        g.translate(-pixelGeometryOf(*owner->m_form).topLeft());
    if (m_frameless || embedded()) {
        // A window the program sizes itself keeps that size: a tiling window manager then
        // lets it float where it is rather than stretch it over a tile.
        if (!embedded() && m_form->windowState() == runtime::WindowState::Normal && maximumSize() != g.size())
            setFixedSize(g.size());
        if (geometry() != g)
            setGeometry(g);
    } else {
        // Whole-window geometry includes the frame: the frame goes to the window's place and
        // the inside is smaller by the frame's size.
        const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize();
        const QSize inner = (g.size() - frame).expandedTo(QSize(1, 1));
        if (pos() != g.topLeft())
            move(g.topLeft());
        if (size() != inner)
            resize(inner);
    }
}

ControlView* FormView::ensureView(runtime::Control& control)
{
    auto it = m_views.find(&control);
    if (it != m_views.end())
        return it->second;
    QWidget* parent = this;
    if (runtime::Control* container = control.container()) {
        if (ControlView* holder = ensureView(*container))
            parent = holder->widget();
    }
    ControlView* view = createControlView(m_session, control, parent);
    // Timers and menus have no view; remembering that saves asking again.
    m_views[&control] = view;
    return view;
}

void FormView::syncControls()
{
    bool created = false;
    for (runtime::Control* control : m_form->controls()) {
        if (!m_views.count(control)) {
            ensureView(*control);
            created = true;
        }
    }
    // Controls that left the window (rare: a window may drop a control it made).
    for (auto it = m_views.begin(); it != m_views.end();) {
        const auto& controls = m_form->controls();
        if (std::find(controls.begin(), controls.end(), it->first) != controls.end()) {
            ++it;
            continue;
        }
        if (it->second) {
            it->second->detach();
            it->second->widget()->hide();
            it->second->widget()->deleteLater();
        }
        it = m_views.erase(it);
    }
    if (created)
        restack();
    for (runtime::Control* control : m_form->controls()) {
        if (ControlView* view = m_views[control])
            view->sync();
    }
}

void FormView::restack()
{
    // Raising in order of layer, then of declaration, leaves the last raised on top.
    std::vector<ControlView*> views;
    for (runtime::Control* control : m_form->controls()) {
        if (ControlView* view = m_views[control])
            views.push_back(view);
    }
    std::stable_sort(views.begin(), views.end(), [](ControlView* a, ControlView* b) {
        return static_cast<int>(a->layer()) < static_cast<int>(b->layer());
    });
    for (ControlView* view : views)
        view->widget()->raise();
}

void FormView::ownedBy(FormView* ownerView)
{
    if (embeddable(ownerView)) {
        setParent(ownerView, Qt::Widget);
        placeWindow();
        return;
    }
    if (embedded())
        unembed();
    // Owned windows stay above their owner and leave the task bar to it (a tool window
    // of its owner; changing the kind of window hides it until it is shown below).
    if (windowFlags().testFlag(Qt::Tool) != (ownerView != nullptr))
        setWindowFlag(Qt::Tool, ownerView != nullptr);
    winId();
    if (ownerView)
        ownerView->winId();
    windowHandle()->setTransientParent(ownerView ? ownerView->windowHandle() : nullptr);
}

void FormView::syncVisibility()
{
    runtime::Form* owner = m_form->owner();
    FormView* ownerView = owner ? m_session.renderer().viewOf(*owner) : nullptr;
    if (ownerView != m_ownerView || embedded() != embeddable(ownerView)) {
        m_ownerView = ownerView;
        ownedBy(ownerView);
    }
    // An owned window is out of sight while its owner is minimised.
    const bool ownerMinimised = ownerView && ownerView->m_form
        && ownerView->m_form->windowState() == runtime::WindowState::Minimized;
    const bool shown = m_form->visible() && !ownerMinimised;
    // A modal window blocks input to the others; Qt takes a new modality only when the
    // window is shown again.
    if (m_form->modal() != m_modal) {
        m_modal = m_form->modal();
        if (isVisible())
            hide();
        setWindowModality(m_modal ? Qt::ApplicationModal : Qt::NonModal);
    }
    if (!shown) {
        if (isVisible())
            hide();
        return;
    }
    const runtime::WindowState state = m_form->windowState();
    const Qt::WindowStates wanted = state == runtime::WindowState::Minimized ? Qt::WindowMinimized
        : state == runtime::WindowState::Maximized                           ? Qt::WindowMaximized
                                                                             : Qt::WindowNoState;
    if (!isVisible()) {
        setWindowState(wanted);
        show();
        // The frame's size is known once the window is shown.
        if (!m_frameless)
            placeWindow();
        raiseWithOwned();
        for (const auto& [control, view] : m_views) {
            if (auto* browser = dynamic_cast<BrowserView*>(view))
                browser->windowShown();
        }
    } else if (windowState() != wanted) {
        setWindowState(wanted);
    }
}

void FormView::raiseWithOwned()
{
    // Windows show in stacking order anyway where the platform cannot restack (offscreen).
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    raise();
    raiseOwned();
}

void FormView::raiseOwned()
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    for (FormView* other : m_session.renderer().views()) {
        if (other != this && other->m_ownerView == this && other->isVisible())
            other->raise();
    }
}

bool FormView::event(QEvent* event)
{
    // Qt builds a new native window for a window that starts showing a page (it needs another
    // kind of surface) and the new one forgets its owner: the window manager would then let
    // the owner cover it. The owner is told again before the new window is shown.
    if (event->type() == QEvent::WinIdChange && windowHandle())
        restoreOwners();
    return QWidget::event(event);
}

void FormView::restoreOwners()
{
    if (m_ownerView && m_ownerView->windowHandle())
        windowHandle()->setTransientParent(m_ownerView->windowHandle());
    for (FormView* other : m_session.renderer().views()) {
        if (other != this && other->m_ownerView == this && other->windowHandle())
            other->windowHandle()->setTransientParent(windowHandle());
    }
}

void FormView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_form) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    if (m_floating) {
        // Only the controls are drawn: the desktop shows through the rest.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
    } else {
        paintBackground(painter);
    }
    painter.end();
    if (!m_painted) {
        m_painted = true;
        if (onPainted)
            onPainted();
    }
}

void FormView::paintBackground(QPainter& painter)
{
    painter.fillRect(rect(), toQColor(m_form->backColor()));
    if (!m_form->picture().empty())
        drawZoomedPixmap(painter, pixmapOf(m_form->picture()));
    const runtime::PaintedPicture& painted = m_form->painted();
    if (!painted.picture.empty())
        painter.drawPixmap(0, 0,
            scaledPixmapOf(painted.picture,
                QSize(static_cast<int>(std::lround(painted.width * zoom())),
                    static_cast<int>(std::lround(painted.height * zoom())))));
}

void FormView::hideEvent(QHideEvent*)
{
    m_painted = false;
}

void FormView::raiseOnForm(const std::function<void(runtime::Form&)>& event)
{
    m_session.run([this, &event] {
        if (m_form)
            event(*m_form);
    });
}

void FormView::mousePressEvent(QMouseEvent* event)
{
    if (!m_form)
        return;
    const runtime::MouseEvent e
        = mouseEventOf(*m_form, this, this, event->position(), event->button(), event->modifiers());
    raiseOnForm([&](runtime::Form& f) { f.mouseDown(e); });
    systemMoveIfDragging();
}

void FormView::systemMoveIfDragging()
{
    if (!m_form || !m_form->drag.dragging || !compositorPlacesWindows())
        return;
    // An X window the window manager leaves alone (the floating lyrics bar) places itself
    // through XWayland too, and no compositor moves it.
    if (window()->windowFlags().testFlag(Qt::X11BypassWindowManagerHint)
        && QGuiApplication::platformName() == QLatin1String("xcb"))
        return;
    // The compositor moves the whole window (the owner's, for a window drawn inside it) and
    // keeps the pointer until the move ends: the window's own drag would otherwise follow
    // the pointer with places the compositor never applies.
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemMove())
        m_form->drag.dragging = false;
}

void FormView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_form)
        return;
    const runtime::MouseEvent e
        = mouseEventOf(*m_form, this, this, event->position(), event->button(), event->modifiers());
    raiseOnForm([&](runtime::Form& f) { f.mouseUp(e); });
}

void FormView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        raiseOnForm([](runtime::Form& f) { f.dblClick(); });
}

void FormView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_form)
        return;
    const runtime::MouseEvent e
        = mouseEventOf(*m_form, this, this, event->position(), event->buttons(), event->modifiers());
    raiseOnForm([&](runtime::Form& f) { f.mouseMove(e); });
}

void FormView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void FormView::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_form && m_form->onDragDrop && !droppedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void FormView::dropEvent(QDropEvent* event)
{
    const auto files = droppedFiles(event->mimeData());
    if (!m_form || !m_form->onDragDrop || files.empty())
        return;
    event->acceptProposedAction();
    raiseOnForm([&](runtime::Form& f) { f.dropFiles(files); });
}

void FormView::closeEvent(QCloseEvent* event)
{
    // The view goes away with the window, once the window is unloaded.
    event->ignore();
    // The program never closes its views itself (it hides them), so every close comes from the
    // desktop, also where the platform reports it as a close of the program's own (Wayland).
    if (m_form && !m_applying)
        closedByDesktop();
}

void FormView::closedByDesktop()
{
    m_session.run([this] {
        if (m_form && !runtime::handleDesktopClose(*m_form))
            m_session.app().unload(*m_form);
    });
}

void FormView::destroyedByDesktop()
{
    m_session.run([this] {
        if (m_form)
            m_session.app().unload(*m_form);
    });
}

void FormView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The inside of a framed window is the window less the frame the desktop draws, known once
    // the window is shown; the person may resize the window too. The window lays itself out
    // anew (later: this may run while the view itself is being brought up to date).
    if (!m_form || m_frameless || !isVisible())
        return;
    const QSize whole = event->spontaneous() ? frameGeometry().size() : pixelGeometry().size();
    const QSize frame = (frameGeometry().size() - size()).expandedTo(QSize(0, 0));
    QMetaObject::invokeMethod(
        this,
        [this, whole, frame] {
            m_session.run([&] {
                if (m_form)
                    m_form->resizedByDesktop(twipsOf(whole.width()), twipsOf(whole.height()),
                        twipsOf(frame.width()), twipsOf(frame.height()));
            });
        },
        Qt::QueuedConnection);
}

void FormView::moveEvent(QMoveEvent* event)
{
    // A framed window moved by the desktop tells the window its new place; windows that
    // draw their own chrome are moved only by themselves.
    if (!m_form || m_applying || m_frameless || !event->spontaneous())
        return;
    const QPoint p = pos();
    const int left = twipsOf(p.x());
    const int top = twipsOf(p.y());
    // At a zoom a pixel is several twips: the window keeps its own place within the pixel.
    if (p != QPoint(screenPixelsOf(m_form->left()), screenPixelsOf(m_form->top())))
        m_session.run([this, left, top] {
            if (m_form)
                m_form->move(left, top);
        });
}

void FormView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Not every window manager keeps an owned window above its owner (sway raises the
    // clicked one over it): the windows this one owns come up with it every time.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        raiseOwned();
    if (event->type() != QEvent::WindowStateChange || !m_form || m_applying)
        return;
    // The person restored or minimised the window from the desktop.
    const runtime::WindowState state = isMinimized() ? runtime::WindowState::Minimized
        : isMaximized()                              ? runtime::WindowState::Maximized
                                                     : runtime::WindowState::Normal;
    if (state != m_form->windowState())
        m_session.run([this, state] {
            if (m_form)
                m_form->setWindowState(state);
        });
}

} // namespace gui
