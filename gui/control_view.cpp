#include "gui/control_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "gui/basic_views.h"
#include "gui/engine_views.h"
#include "gui/form_view.h"
#include "gui/input_views.h"
#include "gui/list_views.h"
#include "gui/look.h"
#include "gui/lyrics_bar_view.h"
#include "gui/session.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// Turns Qt's mouse and drop events on one widget into the control's events.
class InputRelay : public QObject {
public:
    InputRelay(ControlView& view, QWidget* part, RelayOptions options)
        : QObject(part)
        , m_view(view)
        , m_part(part)
        , m_options(options)
    {
        part->setMouseTracking(true);
        part->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouse(event->type(), static_cast<QMouseEvent*>(event));
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return dragOver(static_cast<QDropEvent*>(event));
        case QEvent::Drop:
            return drop(static_cast<QDropEvent*>(event));
        case QEvent::Leave:
            if (runtime::Control* control = m_view.control(); control && control->onMouseLeave)
                m_view.fire([](runtime::Control& c) { c.mouseLeave(); });
            return false;
        default:
            return false;
        }
    }

private:
    bool mouse(QEvent::Type type, QMouseEvent* event)
    {
        runtime::Control* control = m_view.control();
        if (!control)
            return false;
        const runtime::MouseEvent e
            = mouseEventOf(control->form(), m_view.widget(), m_part, event->position(),
                type == QEvent::MouseMove ? event->buttons() : Qt::MouseButtons(event->button()),
                event->modifiers());
        const bool swallow
            = m_options.consume || (event->button() == Qt::RightButton && m_options.swallowRightPress);
        switch (type) {
        case QEvent::MouseButtonPress:
            m_view.fire([&](runtime::Control& c) { c.mouseDown(e); });
            // A press on a label that drags its window (a title) moves it too.
            if (auto* window = dynamic_cast<FormView*>(m_view.widget()->window()))
                window->systemMoveIfDragging();
            return swallow;
        case QEvent::MouseButtonDblClick:
            if (event->button() == Qt::LeftButton)
                m_view.fire([](runtime::Control& c) { c.dblClick(); });
            // The release that ends a double click is not another click.
            m_doubleClicked = true;
            return swallow;
        case QEvent::MouseButtonRelease: {
            const bool inside = m_part->rect().contains(event->position().toPoint());
            const bool click
                = m_options.clickOnRelease && event->button() == Qt::LeftButton && inside && !m_doubleClicked;
            m_doubleClicked = false;
            m_view.fire([&](runtime::Control& c) {
                c.mouseUp(e);
                if (click && c.form().loaded())
                    c.click();
            });
            return swallow;
        }
        default:
            m_view.fire([&](runtime::Control& c) { c.mouseMove(e); });
            return m_options.consume;
        }
    }

    bool dragOver(QDropEvent* event)
    {
        runtime::Control* control = m_view.control();
        if (!control || !control->onDragDrop || droppedFiles(event->mimeData()).empty())
            return false;
        event->acceptProposedAction();
        return true;
    }

    bool drop(QDropEvent* event)
    {
        runtime::Control* control = m_view.control();
        if (!control || !control->onDragDrop)
            return false;
        const auto files = droppedFiles(event->mimeData());
        if (files.empty())
            return false;
        event->acceptProposedAction();
        m_view.fire([&](runtime::Control& c) { c.dropFiles(files); });
        return true;
    }

    ControlView& m_view;
    QWidget* m_part;
    RelayOptions m_options;
    bool m_doubleClicked = false;
};

} // namespace

int buttonNumber(Qt::MouseButtons buttons)
{
    int n = 0;
    if (buttons & Qt::LeftButton)
        n |= runtime::LeftButton;
    if (buttons & Qt::RightButton)
        n |= runtime::RightButton;
    if (buttons & Qt::MiddleButton)
        n |= runtime::MiddleButton;
    return n;
}

runtime::MouseEvent mouseEventOf(const runtime::Form& form, const QWidget* origin, const QWidget* source,
    QPointF position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    const QPointF p = source == origin ? position : QPointF(source->mapTo(origin, position.toPoint()));
    runtime::MouseEvent e;
    e.button = buttonNumber(buttons);
    e.shift = ((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0)
        | ((modifiers & Qt::AltModifier) ? 4 : 0);
    e.x = p.x() / pixelsPerUnit(form);
    e.y = p.y() / pixelsPerUnit(form);
    return e;
}

std::vector<std::string> droppedFiles(const QMimeData* mime)
{
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.push_back(utf8(url.toLocalFile()));
    }
    return files;
}

ControlView::ControlView(Session& session, runtime::Control& control)
    : m_session(session)
    , m_control(&control)
{
}

ControlView::~ControlView() = default;

void ControlView::sync()
{
    runtime::Control* c = m_control;
    if (!c || c->revision() == m_revision)
        return;
    QWidget* w = widget();
    // Hidden controls (many are hidden stores: paths, page texts, long lists) are brought up
    // to date only when they are shown.
    if (!c->visible()) {
        w->hide();
        return;
    }
    m_revision = c->revision();
    const QRect rect = controlRect(*c);
    if (w->geometry() != rect)
        w->setGeometry(rect);
    const QFont font = toQFont(c->fontName(), c->fontSize(), c->fontBold());
    if (w->font() != font)
        w->setFont(font);
    w->setToolTip(qs(c->toolTipText()));
    w->setEnabled(c->enabled());
    const bool drops = static_cast<bool>(c->onDragDrop);
    for (const QPointer<QWidget>& part : m_parts) {
        if (part)
            part->setAcceptDrops(drops);
    }
    syncKind(*c);
    w->setVisible(c->visible());
}

void ControlView::detach()
{
    m_control = nullptr;
}

void ControlView::fire(const std::function<void(runtime::Control&)>& event)
{
    m_session.run([this, &event] {
        if (m_control)
            event(*m_control);
    });
}

QObject* ControlView::relay(QWidget* part, RelayOptions options)
{
    m_parts.emplace_back(part);
    return new InputRelay(*this, part, options);
}

ControlView* createControlView(Session& session, runtime::Control& control, QWidget* parent)
{
    switch (control.kind()) {
    case runtime::ControlKind::Label:
        return new LabelView(session, control, parent);
    case runtime::ControlKind::PictureBox:
    case runtime::ControlKind::Image:
        return new PictureView(session, static_cast<runtime::PictureBox&>(control), parent);
    case runtime::ControlKind::Frame:
        return new FrameView(session, control, parent);
    case runtime::ControlKind::TextBox:
        return new TextBoxView(session, static_cast<runtime::TextBox&>(control), parent);
    case runtime::ControlKind::CommandButton:
        return new ButtonView(session, control, parent);
    case runtime::ControlKind::OptionButton:
    case runtime::ControlKind::CheckBox:
        return new ChoiceView(session, control, parent);
    case runtime::ControlKind::HScrollBar:
        return new ScrollBarView(session, static_cast<runtime::HScrollBar&>(control), parent);
    case runtime::ControlKind::ListBox:
    case runtime::ControlKind::FileListBox:
        return new ListView(session, static_cast<runtime::ListBox&>(control), parent);
    case runtime::ControlKind::ComboBox:
        return new ComboView(session, static_cast<runtime::ComboBox&>(control), parent);
    case runtime::ControlKind::WebBrowser:
        return new BrowserView(session, static_cast<runtime::WebBrowser&>(control), parent);
    case runtime::ControlKind::MediaPlayer:
        return new MediaView(session, static_cast<runtime::MediaPlayer&>(control), parent);
    case runtime::ControlKind::LyricsBar:
        return new LyricsBarView(session, static_cast<runtime::LyricsBar&>(control), parent);
    case runtime::ControlKind::Timer:
    case runtime::ControlKind::Menu:
        return nullptr;
    }
    return nullptr;
}

} // namespace gui
