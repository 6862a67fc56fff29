#pragma once
// Windows for the front-end tests: one control of each kind the tests drive, every event
// written to a log in the order it arrives.
#include <functional>
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace gui_testing {

// Formats a mouse event as "Name.Event button x,y" for the log.
std::string describe(const std::string& what, const runtime::MouseEvent& e);

class Sample : public runtime::Form {
public:
    explicit Sample(runtime::App& app);

    runtime::Label Label1 { *this, "Label1" };
    runtime::TextBox Text1 { *this, "Text1" };
    runtime::TextBox Text2 { *this, "Text2" };
    runtime::ListBox List1 { *this, "List1" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::ComboBox Combo1 { *this, "Combo1" };
    runtime::HScrollBar HScroll1 { *this, "HScroll1" };
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    runtime::MediaPlayer WindowsMediaPlayer1 { *this, "WindowsMediaPlayer1" };
    runtime::Menu mnu { *this, "mnu", "菜单" };
    runtime::Menu mnuOpen { *this, "mnuOpen", "打开", &mnu };
    runtime::Menu mnuLine { *this, "mnuLine", "-", &mnu };
    runtime::Menu mnuMore { *this, "mnuMore", "更多", &mnu };
    runtime::Menu mnuDeep { *this, "mnuDeep", "深处", &mnuMore };
    runtime::Menu mnuHidden { *this, "mnuHidden", "隐藏", &mnu };

    std::vector<std::string> events;
    // What a click on Command1 does besides being logged.
    std::function<void()> onCommand;
};

// A window owned by another.
class Owned : public runtime::Form {
public:
    explicit Owned(runtime::App& app);
    runtime::Label Label1 { *this, "Label1" };
};

} // namespace gui_testing
