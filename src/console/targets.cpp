#include "console/targets.h"

#include "console/command_line.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace console {

namespace {

PropertyValue valueOf(std::string text)
{
    PropertyValue v;
    v.text = std::move(text);
    return v;
}

PropertyValue failure(std::string why)
{
    PropertyValue v;
    v.error = std::move(why);
    return v;
}

// Whether `window` is form itself or one of the windows that own it (a modal dialog's own
// modeless child is not blocked by the dialog).
bool ownedBy(const runtime::Form& form, const runtime::Form* window)
{
    // Owner chains are short; the bound only guards against a window owning itself in a loop.
    int depth = 0;
    for (const runtime::Form* f = form.owner(); f && depth < 64; f = f->owner(), ++depth) {
        if (f == window)
            return true;
    }
    return false;
}

// An "item.N" read: the entry at N of a list, with a clear error for a bad or missing index.
PropertyValue readItem(const runtime::Control& control, std::string_view index)
{
    const auto& list = static_cast<const runtime::ListBox&>(control);
    const auto n = parseWholeNumber(index, INT32_MIN, INT32_MAX);
    if (!n)
        return failure("item index " + inQuotes(index) + " is not a number");
    if (*n < 0 || *n >= list.listCount())
        return failure("index " + std::to_string(*n) + " is out of range (" + addressOf(control) + " has "
            + std::to_string(list.listCount()) + " entries)");
    return valueOf(list.list(static_cast<int>(*n)));
}

} // namespace

Address splitAddress(std::string_view text)
{
    Address a;
    const size_t first = text.find('.');
    a.window = std::string(text.substr(0, first));
    if (first == std::string_view::npos)
        return a;
    a.hasMember = true;
    const std::string_view after = text.substr(first + 1);
    const size_t second = after.find('.');
    a.member = std::string(after.substr(0, second));
    if (second != std::string_view::npos) {
        a.hasRest = true;
        a.rest = std::string(after.substr(second + 1));
    }
    return a;
}

Target findWindow(const runtime::App& app, std::string_view name)
{
    Target t;
    if (name.empty()) {
        t.error = "missing window name";
        return t;
    }
    const std::string key(name);
    t.form = app.loadedForm(key);
    if (!t.form)
        t.error = app.windowEntry(key) ? key + " is not loaded" : "unknown window " + key;
    return t;
}

Target findControl(
    const runtime::App& app, std::string_view window, std::string_view member, bool allowWindow)
{
    Target t = findWindow(app, window);
    if (!t.ok())
        return t;
    if (member.empty()) {
        t.error = "missing control name after " + t.form->name() + ".";
        return t;
    }
    if (allowWindow && member == t.form->name())
        return t;
    t.control = t.form->control(member);
    if (!t.control)
        t.error = t.form->name() + " has no control " + std::string(member);
    return t;
}

std::optional<std::string> windowBlocked(const runtime::App& app, const runtime::Form& form)
{
    if (!form.visible())
        return form.name() + " is not shown";
    if (form.windowState() == runtime::WindowState::Minimized)
        return form.name() + " is minimised";
    for (const runtime::Form* other : app.forms()) {
        if (other != &form && other->visible() && other->modal() && !ownedBy(form, other))
            return form.name() + " is blocked by the modal window " + other->name();
    }
    return std::nullopt;
}

std::optional<std::string> controlBlocked(const runtime::App& app, const runtime::Control& control)
{
    if (auto why = windowBlocked(app, control.form()))
        return why;
    for (const runtime::Control* c = &control; c; c = c->container()) {
        const char* state = !c->visible() ? "not visible" : !c->enabled() ? "disabled" : nullptr;
        if (!state)
            continue;
        if (c == &control)
            return addressOf(control) + " is " + state;
        return addressOf(control) + " is inside " + c->name() + ", which is " + state;
    }
    // The runtime has the last word, should it know more reasons than the ones named above.
    if (!control.reachable())
        return addressOf(control) + " cannot be reached";
    return std::nullopt;
}

bool isListControl(const runtime::Control& control)
{
    const runtime::ControlKind k = control.kind();
    return k == runtime::ControlKind::ListBox || k == runtime::ControlKind::ComboBox
        || k == runtime::ControlKind::FileListBox;
}

std::string addressOf(const runtime::Control& control)
{
    return control.form().name() + "." + control.name();
}

std::string defaultPropertyOf(const runtime::Control& control)
{
    // A combo box shows its entries like a list; its text is read as W.C.text.
    if (control.kind() == runtime::ControlKind::ComboBox)
        return "items";
    return control.defaultProperty();
}

PropertyValue readProperty(const runtime::App& app, std::string_view address)
{
    const Address a = splitAddress(address);
    if (!a.hasMember || a.window.empty())
        return failure("expected W.PROP, W.C or W.C.PROP, got " + inQuotes(address));
    if (a.member == "loaded" && !a.hasRest && !app.loadedForm(a.window) && app.windowEntry(a.window))
        return valueOf("false");
    const Target w = findWindow(app, a.window);
    if (!w.ok())
        return failure(w.error);
    const runtime::Control* control = w.form->control(a.member);
    if (!control) {
        if (!a.hasRest) {
            if (auto v = w.form->property(a.member))
                return valueOf(*v);
        }
        return failure(a.window + " has no control " + (a.hasRest ? "" : "or property ") + a.member);
    }
    const std::string property = a.hasRest ? a.rest : defaultPropertyOf(*control);
    if (property.starts_with("item.") && isListControl(*control))
        return readItem(*control, std::string_view(property).substr(5));
    auto v = control->property(property);
    if (!v)
        return failure(addressOf(*control) + " has no property " + property);
    PropertyValue value = valueOf(*v);
    if (property == "items" && isListControl(*control)) {
        value.isList = true;
        value.lines = static_cast<const runtime::ListBox&>(*control).items();
    }
    return value;
}

} // namespace console
