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

#include "gui/control_view.h"
#include "gui/engine_views.h"
#include "gui/look.h"
#include "gui/renderer.h"
#include "gui/screen_fit.h"
#include "gui/session.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace gui {

namespace {

// A window's place and size in pixels (whole-window geometry is in twips).
QRect pixelGeometryOf(const runtime::Form& form)
{
    auto px = [](int twips) {
        return static_cast<int>(std::lround(twips / static_cast<double>(runtime::kTwipsPerPixel)));
    };
    return QRect(
        px(form.left()), px(form.top()), std::max(1, px(form.width())), std::max(1, px(form.height())));
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
    if (windowHandle())
        windowHandle()->setTransientParent(nullptr);
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
    QRect covered;
    for (runtime::Form* form : group)
        covered |= pixelGeometryOf(*form);
    const QScreen* screen = QGuiApplication::screenAt(covered.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QPoint offset = offsetOntoScreen(covered, screen->availableGeometry());
    if (offset.isNull())
        return;
    for (runtime::Form* form : group)
        form->move(form->left() + offset.x() * runtime::kTwipsPerPixel,
            form->top() + offset.y() * runtime::kTwipsPerPixel);
}

void FormView::syncWindow()
{
    const bool frameless = m_form->ownChrome();
    if (frameless != m_frameless) {
        m_frameless = frameless;
        setWindowFlag(Qt::FramelessWindowHint, frameless);
    }
    setWindowTitle(qs(m_form->caption()));
    placeWindow();
    setAcceptDrops(static_cast<bool>(m_form->onDragDrop));
}

void FormView::placeWindow()
{
    const QRect g = pixelGeometry();
    if (m_frameless) {
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

void FormView::syncVisibility()
{
    runtime::Form* owner = m_form->owner();
    FormView* ownerView = owner ? m_session.renderer().viewOf(*owner) : nullptr;
    if (ownerView != m_ownerView) {
        m_ownerView = ownerView;
        // Owned windows stay above their owner and leave the task bar to it (a tool window
        // of its owner; changing the kind of window hides it until it is shown below).
        if (windowFlags().testFlag(Qt::Tool) != (ownerView != nullptr))
            setWindowFlag(Qt::Tool, ownerView != nullptr);
        winId();
        if (ownerView)
            ownerView->winId();
        windowHandle()->setTransientParent(ownerView ? ownerView->windowHandle() : nullptr);
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
    painter.fillRect(rect(), toQColor(m_form->backColor()));
    if (!m_form->picture().empty())
        painter.drawPixmap(0, 0, pixmapOf(m_form->picture()));
    const runtime::PaintedPicture& painted = m_form->painted();
    if (!painted.picture.empty())
        painter.drawPixmap(0, 0, scaledPixmapOf(painted.picture, QSize(painted.width, painted.height)));
    painter.end();
    if (!m_painted) {
        m_painted = true;
        if (onPainted)
            onPainted();
    }
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
    if (event->spontaneous())
        closedByDesktop();
}

void FormView::closedByDesktop()
{
    if (!m_form)
        return;
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
                    m_form->resizedByDesktop(whole.width() * runtime::kTwipsPerPixel,
                        whole.height() * runtime::kTwipsPerPixel, frame.width() * runtime::kTwipsPerPixel,
                        frame.height() * runtime::kTwipsPerPixel);
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
    const int left = p.x() * runtime::kTwipsPerPixel;
    const int top = p.y() * runtime::kTwipsPerPixel;
    if (left != m_form->left() || top != m_form->top())
        m_session.run([this, left, top] {
            if (m_form)
                m_form->move(left, top);
        });
}

void FormView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
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
