#include "runtime/control.h"

#include <cmath>
#include <cstdio>

#include "runtime/app.h"
#include "runtime/form.h"

namespace runtime {

std::string propertyText(bool v)
{
    return v ? "true" : "false";
}

std::string propertyText(double v)
{
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return std::to_string(static_cast<long long>(v));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string propertyText(int64_t v)
{
    return std::to_string(v);
}

std::string propertyText(int v)
{
    return std::to_string(v);
}

Control::Control(Form& form, std::string name, ControlKind kind)
    : m_form(form)
    , m_name(std::move(name))
    , m_kind(kind)
{
    m_form.registerControl(this);
}

Control::~Control()
{
    m_form.unregisterControl(this);
}

App& Control::app() const
{
    return m_form.app();
}

void Control::touch()
{
    ++m_revision;
    m_form.touch();
}

void Control::setContainer(Control* frame)
{
    m_container = frame;
}

void Control::setVisible(bool v)
{
    assign(m_visible, v);
}

void Control::setEnabled(bool v)
{
    assign(m_enabled, v);
}

void Control::setLeft(double v)
{
    assign(m_left, v);
}

void Control::setTop(double v)
{
    assign(m_top, v);
}

void Control::setWidth(double v)
{
    assign(m_width, v < 0 ? 0 : v);
}

void Control::setHeight(double v)
{
    assign(m_height, v < 0 ? 0 : v);
}

void Control::move(double left, double top, double width, double height)
{
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

void Control::setCaption(std::string_view v)
{
    if (m_caption != v) {
        m_caption = v;
        touch();
    }
}

void Control::setToolTipText(std::string_view v)
{
    if (m_toolTip != v) {
        m_toolTip = v;
        touch();
    }
}

void Control::setFontBold(bool v)
{
    assign(m_fontBold, v);
}

void Control::setFontSize(double v)
{
    assign(m_fontSize, v);
}

void Control::setFontName(std::string_view v)
{
    if (m_fontName != v) {
        m_fontName = v;
        touch();
    }
}

void Control::setForeColor(int64_t v)
{
    assign(m_foreColor, v);
}

void Control::setBackColor(int64_t v)
{
    assign(m_backColor, v);
}

void Control::setBackStyle(int v)
{
    assign(m_backStyle, v);
}

void Control::setBorderStyle(int v)
{
    assign(m_borderStyle, v);
}

void Control::setAlignment(int v)
{
    assign(m_alignment, v);
}

bool Control::reachable() const
{
    for (const Control* c = this; c; c = c->container()) {
        if (!c->visible() || !c->enabled())
            return false;
    }
    return true;
}

std::optional<std::string> Control::property(std::string_view name) const
{
    if (name == "name")
        return m_name;
    if (name == "caption")
        return m_caption;
    if (name == "visible")
        return propertyText(m_visible);
    if (name == "enabled")
        return propertyText(m_enabled);
    if (name == "left")
        return propertyText(m_left);
    if (name == "top")
        return propertyText(m_top);
    if (name == "width")
        return propertyText(m_width);
    if (name == "height")
        return propertyText(m_height);
    if (name == "fontBold")
        return propertyText(m_fontBold);
    if (name == "fontSize")
        return propertyText(m_fontSize);
    if (name == "foreColor")
        return propertyText(m_foreColor);
    if (name == "backColor")
        return propertyText(m_backColor);
    if (name == "backStyle")
        return propertyText(m_backStyle);
    if (name == "borderStyle")
        return propertyText(m_borderStyle);
    if (name == "toolTipText")
        return m_toolTip;
    if (name == "alignment")
        return propertyText(m_alignment);
    return std::nullopt;
}

void Control::raiseChange()
{
    if (onChange)
        app().dispatch(onChange);
}

void Control::click()
{
    if (onClick)
        app().dispatch(onClick);
}

void Control::dblClick()
{
    if (onDblClick)
        app().dispatch(onDblClick);
}

void Control::mouseDown(const MouseEvent& e)
{
    if (onMouseDown)
        app().dispatch([&] { onMouseDown(e); });
}

void Control::mouseMove(const MouseEvent& e)
{
    if (onMouseMove)
        app().dispatch([&] { onMouseMove(e); });
}

void Control::mouseUp(const MouseEvent& e)
{
    if (onMouseUp)
        app().dispatch([&] { onMouseUp(e); });
}

void Control::mouseLeave()
{
    if (onMouseLeave)
        app().dispatch([&] { onMouseLeave(); });
}

void Control::dropFiles(const std::vector<std::string>& paths)
{
    if (onDragDrop)
        app().dispatch([&] { onDragDrop(paths); });
}

} // namespace runtime
