// The commands that act as the mouse, the keyboard, the desktop or the media engine.
#include <algorithm>

#include "console/command_line.h"
#include "console/session.h"
#include "platform/dialogs.h"
#include "platform/tray.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace console {

namespace {

// Raises a mouse event on a control or on a window's background (both have the same events).
template <class Receiver>
void raiseMouse(Receiver& receiver, Session::MouseAction action, const runtime::MouseEvent& e)
{
    if (action == Session::MouseAction::Down)
        receiver.mouseDown(e);
    else if (action == Session::MouseAction::Up)
        receiver.mouseUp(e);
    else
        receiver.mouseMove(e);
}

// A person's click on an entry: it becomes the selected one and the click event is raised,
// also when it already was selected.
void chooseEntry(runtime::ListBox& list, int index)
{
    if (list.listIndex() != index)
        list.setListIndex(index);
    else
        list.click();
}

// Whether the control in the icon record still exists: its window may have been unloaded
// since the icon was added, and the record then points at nothing.
bool recordWindowAlive(const runtime::App& app, const platform::NotifyIconRecord& record)
{
    if (!record.window)
        return false;
    for (const runtime::Form* f : app.forms()) {
        const auto& controls = f->controls();
        if (std::find(controls.begin(), controls.end(), record.window) != controls.end())
            return true;
    }
    return false;
}

// The mouse messages the desktop sends to the icon for each kind of click.
std::vector<int> trayMessages(std::string_view click)
{
    using namespace platform;
    if (click == "left")
        return { TrayLeftDown, TrayLeftUp };
    if (click == "right")
        return { TrayRightDown, TrayRightUp };
    if (click == "double")
        return { TrayLeftDown, TrayLeftUp, TrayLeftDouble, TrayLeftUp };
    return {};
}

} // namespace

std::optional<int> Session::entryIndex(const runtime::Control& control, std::string_view word)
{
    const auto& list = static_cast<const runtime::ListBox&>(control);
    const auto index = parseWholeNumber(word, INT32_MIN, INT32_MAX);
    if (!index)
        fail("index " + inQuotes(word) + " is not a number");
    else if (*index < 0 || *index >= list.listCount())
        fail("index " + std::to_string(*index) + " is out of range (" + addressOf(control) + " has "
            + std::to_string(list.listCount()) + " entries)");
    else
        return static_cast<int>(*index);
    return std::nullopt;
}

void Session::click(const Words& args)
{
    const Target t = reachable(args[0], false);
    if (!t.ok())
        return;
    if (t.control->kind() == runtime::ControlKind::Menu)
        return fail(addressOf(*t.control) + " is a menu item (use menu)");
    t.control->click();
}

void Session::dblclick(const Words& args)
{
    Target t = reachable(args[0], true);
    if (!t.ok())
        return;
    if (args.size() == 2) {
        if (!t.control || !isListControl(*t.control))
            return fail(args[0] + " is not a list; only a list takes an INDEX");
        const auto index = entryIndex(*t.control, args[1]);
        if (!index)
            return;
        chooseEntry(static_cast<runtime::ListBox&>(*t.control), *index);
        // The click may have closed or hidden the list; the second click then lands nowhere.
        t = reachable(args[0], true);
        if (!t.ok())
            return;
    }
    if (t.control)
        t.control->dblClick();
    else
        t.form->dblClick();
}

void Session::select(const Words& args)
{
    const Target t = reachable(args[0], false);
    if (!t.ok())
        return;
    if (!isListControl(*t.control))
        return fail(args[0] + " is not a list or combo box");
    if (const auto index = entryIndex(*t.control, args[1]))
        chooseEntry(static_cast<runtime::ListBox&>(*t.control), *index);
}

void Session::mousedown(const Words& args)
{
    mouse(args, MouseAction::Down);
}

void Session::mouseup(const Words& args)
{
    mouse(args, MouseAction::Up);
}

void Session::mousemove(const Words& args)
{
    mouse(args, MouseAction::Move);
}

void Session::mouse(const Words& args, MouseAction action)
{
    const bool hasButton = action != MouseAction::Move;
    const size_t first = hasButton ? 2 : 1;
    if (args.size() != first && args.size() != first + 2)
        return fail("the position needs both X and Y");
    int button = 0;
    if (hasButton) {
        if (args[1] == "left")
            button = runtime::LeftButton;
        else if (args[1] == "right")
            button = runtime::RightButton;
        else
            return fail("mouse button must be left or right, got " + inQuotes(args[1]));
    }
    runtime::MouseEvent e;
    if (args.size() > first) {
        const auto x = parseDecimal(args[first]);
        const auto y = parseDecimal(args[first + 1]);
        if (!x || !y)
            return fail("position " + inQuotes(args[first]) + " " + inQuotes(args[first + 1])
                + " is not a number pair");
        e.x = *x;
        e.y = *y;
    }
    const Target t = reachable(args[0], true);
    if (!t.ok())
        return;
    // The mouse is one device: a move reports the buttons still held from earlier presses.
    if (action == MouseAction::Down)
        m_buttons |= button;
    else if (action == MouseAction::Up)
        m_buttons &= ~button;
    e.button = hasButton ? button : m_buttons;
    if (t.control)
        raiseMouse(*t.control, action, e);
    else
        raiseMouse(*t.form, action, e);
}

void Session::type(const Words& args)
{
    const Target t = reachable(args[0], false);
    if (!t.ok())
        return;
    if (t.control->kind() == runtime::ControlKind::ComboBox) {
        static_cast<runtime::ComboBox&>(*t.control).setText(args[1]);
        return;
    }
    if (t.control->kind() != runtime::ControlKind::TextBox)
        return fail(args[0] + " is not a text box or combo box");
    auto& box = static_cast<runtime::TextBox&>(*t.control);
    if (box.locked())
        return fail(args[0] + " is locked");
    box.setText(args[1]);
}

void Session::scroll(const Words& args)
{
    const Target t = reachable(args[0], false);
    if (!t.ok())
        return;
    if (t.control->kind() != runtime::ControlKind::HScrollBar)
        return fail(args[0] + " is not a slider");
    auto& slider = static_cast<runtime::HScrollBar&>(*t.control);
    const int low = std::min(slider.min(), slider.max());
    const int high = std::max(slider.min(), slider.max());
    const auto value = parseWholeNumber(args[1], low, high);
    if (!value)
        return fail("value " + inQuotes(args[1]) + " is not a whole number from " + std::to_string(low)
            + " to " + std::to_string(high));
    slider.setValue(static_cast<int>(*value));
}

void Session::drop(const Words& args)
{
    const std::vector<std::string> paths(args.begin() + 1, args.end());
    if (std::find(paths.begin(), paths.end(), std::string()) != paths.end())
        return fail("a dropped path is empty");
    const Target t = reachable(args[0], true);
    if (!t.ok())
        return;
    if (t.control)
        t.control->dropFiles(paths);
    else
        t.form->dropFiles(paths);
}

void Session::menu(const Words& args)
{
    runtime::Control* item = loadedControl(args[0], runtime::ControlKind::Menu, "a menu item");
    if (!item)
        return;
    for (const runtime::Menu* m = static_cast<runtime::Menu*>(item); m; m = m->parent()) {
        if (m->enabled())
            continue;
        if (m == item)
            return fail(args[0] + " is disabled");
        return fail(args[0] + " is inside " + m->name() + ", which is disabled");
    }
    item->click();
}

void Session::tray(const Words& args)
{
    const std::vector<int> messages = trayMessages(args[0]);
    if (messages.empty())
        return fail("tray takes left, right or double, got " + inQuotes(args[0]));
    if (!m_app.hasService<platform::RecordingTray>())
        return fail("this run has no notification area");
    const auto& area = m_app.service<platform::RecordingTray>();
    if (!area.shown() || !recordWindowAlive(m_app, area.record()))
        return fail("no notification icon is shown");
    for (const int message : messages) {
        // A handler may remove the icon or unload its window between the messages of one click.
        if (!area.shown() || !recordWindowAlive(m_app, area.record()) || m_app.ended())
            return;
        platform::deliverTrayMessage(area.record(), message);
    }
}

void Session::answer(const Words& args)
{
    static const std::pair<std::string_view, int> buttons[] = {
        { "yes", platform::AnswerYes },
        { "no", platform::AnswerNo },
        { "ok", platform::AnswerOk },
        { "cancel", platform::AnswerCancel },
    };
    if (!m_app.hasService<platform::ScriptedDialogs>())
        return fail("this run has no scripted dialogs");
    auto& dialogs = m_app.service<platform::ScriptedDialogs>();
    const std::string& what = args[0];
    if (args.size() == 2 && what == "file")
        return dialogs.queueFile(args[1]);
    if (args.size() == 2 && what == "folder")
        return dialogs.queueFolder(args[1]);
    for (const auto& [word, code] : buttons) {
        if (args.size() == 1 && what == word)
            return dialogs.queueAnswer(code);
    }
    fail("usage: answer yes|no|ok|cancel, answer file \"PATH\" or answer folder \"PATH\"");
}

void Session::media(const Words& args)
{
    runtime::Control* player = loadedControl(args[0], runtime::ControlKind::MediaPlayer, "a media player");
    if (!player)
        return;
    const auto state = parseWholeNumber(args[1], INT32_MIN, INT32_MAX);
    if (!state)
        return fail("play state " + inQuotes(args[1]) + " is not a number");
    static_cast<runtime::MediaPlayer&>(*player).reportPlayState(static_cast<int>(*state));
}

} // namespace console
