#include "runtime/form.h"

#include <algorithm>

#include "runtime/app.h"
#include "runtime/controls.h"

namespace runtime {

Form::Form(App& app, std::string name)
    : m_app(app)
    , m_name(std::move(name))
{
}

Form::~Form() = default;

void Form::touch()
{
    ++m_revision;
    m_app.touch();
}

void Form::setLeft(int v)
{
    if (v != m_left) {
        m_left = v;
        touch();
    }
}

void Form::setTop(int v)
{
    if (v != m_top) {
        m_top = v;
        touch();
    }
}

void Form::setWidth(int v)
{
    v = std::max(v, 0);
    if (v != m_width) {
        m_width = v;
        touch();
    }
}

void Form::setHeight(int v)
{
    v = std::max(v, 0);
    if (v != m_height) {
        m_height = v;
        touch();
    }
}

void Form::resizedByDesktop(int width, int height, int frameWidth, int frameHeight)
{
    const double insideWidth = scaleWidth();
    const double insideHeight = scaleHeight();
    // Taken as they are on screen, without asking the front end to place the window again: a
    // stale report of the desktop's would otherwise undo the window's own resizing, over and
    // over.
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_frameWidth = std::clamp(frameWidth, 0, m_width);
    m_frameHeight = std::clamp(frameHeight, 0, m_height);
    if (onResize && (scaleWidth() != insideWidth || scaleHeight() != insideHeight))
        m_app.dispatch(onResize);
}

void Form::move(int left, int top)
{
    setLeft(left);
    setTop(top);
}

void Form::setScaleMode(ScaleMode m)
{
    m_scaleMode = m;
    touch();
}

void Form::setCaption(std::string_view v)
{
    if (m_caption != v) {
        m_caption = v;
        touch();
    }
}

void Form::setBackColor(int64_t v)
{
    if (v != m_backColor) {
        m_backColor = v;
        touch();
    }
}

void Form::setOwnChrome(bool v)
{
    m_ownChrome = v;
    touch();
}

void Form::setFloating(bool v)
{
    m_floating = v;
    touch();
}

void Form::setClickThrough(bool v)
{
    m_clickThrough = v;
    touch();
}

void Form::setPicture(Picture p)
{
    m_picture = std::move(p);
    touch();
}

void Form::paintPicture(const Picture& p, int width, int height)
{
    if (p.empty())
        return;
    m_painted = PaintedPicture { p, width, height };
    touch();
}

void Form::clearPicture()
{
    m_picture = Picture();
    m_painted = PaintedPicture();
    touch();
}

void Form::setWindowState(WindowState v)
{
    if (v != m_windowState) {
        m_windowState = v;
        touch();
    }
}

void Form::show(bool modal, Form* owner)
{
    m_visible = true;
    m_modal = modal;
    if (owner)
        m_owner = owner;
    if (m_windowState == WindowState::Minimized)
        m_windowState = WindowState::Normal;
    touch();
}

void Form::hide()
{
    m_visible = false;
    m_modal = false;
    touch();
}

Control* Form::control(std::string_view name) const
{
    for (Control* c : m_controls) {
        if (c->name() == name)
            return c;
    }
    return nullptr;
}

namespace {

// A form's picture properties: "picture" and "paintedSize"; nothing for another name.
std::optional<std::string> pictureProperty(std::string_view name, const Form& form)
{
    if (name == "picture") {
        // The painted picture when there is one, else the background picture property.
        const Picture& p = form.painted().picture.empty() ? form.picture() : form.painted().picture;
        return p.empty() ? std::string() : (p.source.empty() ? "(picture)" : p.source);
    }
    if (name == "paintedSize") {
        if (form.painted().picture.empty())
            return std::string();
        return std::to_string(form.painted().width) + "x" + std::to_string(form.painted().height);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> Form::property(std::string_view name) const
{
    if (name == "loaded")
        return propertyText(m_loaded);
    if (name == "visible")
        return propertyText(m_visible);
    if (name == "modal")
        return propertyText(m_modal);
    if (name == "clickThrough")
        return propertyText(m_clickThrough);
    if (name == "left")
        return propertyText(m_left);
    if (name == "top")
        return propertyText(m_top);
    if (name == "width")
        return propertyText(m_width);
    if (name == "height")
        return propertyText(m_height);
    if (name == "caption")
        return m_caption;
    if (name == "backColor")
        return propertyText(m_backColor);
    if (name == "windowState")
        return propertyText(static_cast<int>(m_windowState));
    if (name == "owner")
        return m_owner ? m_owner->name() : std::string();
    if (name == "scaleWidth")
        return propertyText(scaleWidth());
    if (name == "scaleHeight")
        return propertyText(scaleHeight());
    return pictureProperty(name, *this);
}

void Form::popupMenu(Menu& menu)
{
    m_app.host().popupMenu(*this, menu);
}

void Form::mouseDown(const MouseEvent& e)
{
    if (onMouseDown)
        m_app.dispatch([&] { onMouseDown(e); });
}

void Form::mouseMove(const MouseEvent& e)
{
    if (onMouseMove)
        m_app.dispatch([&] { onMouseMove(e); });
}

void Form::mouseUp(const MouseEvent& e)
{
    if (onMouseUp)
        m_app.dispatch([&] { onMouseUp(e); });
}

void Form::dblClick()
{
    if (onDblClick)
        m_app.dispatch(onDblClick);
}

void Form::dropFiles(const std::vector<std::string>& paths)
{
    if (onDragDrop)
        m_app.dispatch([&] { onDragDrop(paths); });
}

void Form::registerControl(Control* c)
{
    m_controls.push_back(c);
}

void Form::unregisterControl(Control* c)
{
    m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), c), m_controls.end());
}

} // namespace runtime
