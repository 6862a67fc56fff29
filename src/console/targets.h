#pragma once
// Finding windows, controls and properties by the names a script uses, and deciding whether a
// person could reach them. The console never loads a window: it only looks at loaded ones.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {
class App;
class Form;
class Control;
} // namespace runtime

namespace console {

// A dotted address split at its first two dots: "moban.Label6.caption" gives window "moban",
// member "Label6" and rest "caption"; "Form5.List1.item.3" keeps "item.3" whole as the rest.
struct Address {
    std::string window;
    std::string member;
    std::string rest;
    bool hasMember = false;
    bool hasRest = false;
};
Address splitAddress(std::string_view text);

// A window or control found by name, or why it is not usable.
struct Target {
    runtime::Form* form = nullptr;
    // nullptr when the address names the window itself.
    runtime::Control* control = nullptr;
    std::string error;
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// The loaded window called name; the error tells an unknown window from one not loaded.
Target findWindow(const runtime::App& app, std::string_view name);
// The window, and the control called member in it; member equal to the window's own name
// means the window itself when allowWindow is set.
Target findControl(
    const runtime::App& app, std::string_view window, std::string_view member, bool allowWindow);

// Why a person cannot act on the window now (not shown, minimised, behind a modal window), or
// nothing when they can.
std::optional<std::string> windowBlocked(const runtime::App& app, const runtime::Form& form);
// Why a person cannot act on the control now (its window, or it or a frame around it hidden or
// disabled), or nothing when they can.
std::optional<std::string> controlBlocked(const runtime::App& app, const runtime::Control& control);

// A property value as text, or why it cannot be read.
struct PropertyValue {
    std::string text;
    std::string error;
    // `items`: the value is a list printed one entry per line (text holds them joined by LF).
    bool isList = false;
    std::vector<std::string> lines;
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Reads "W.PROP", "W.C" (the control's default property) or "W.C.PROP". `W.loaded` answers
// false for a known window that is not loaded; everything else needs a loaded window.
PropertyValue readProperty(const runtime::App& app, std::string_view address);

// Whether the control holds entries a person picks from (list, combo or file list box).
bool isListControl(const runtime::Control& control);
// "W.C" for a control.
std::string addressOf(const runtime::Control& control);

// The property a bare "W.C" means: caption for labels and buttons, text for text boxes,
// items for lists and combo boxes, the control's own choice otherwise.
std::string defaultPropertyOf(const runtime::Control& control);

} // namespace console
