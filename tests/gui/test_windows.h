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
std::string describe(const std::string& what, const rt::MouseEvent& e);

class Sample : public rt::Form {
public:
    explicit Sample(rt::App& app);

    rt::Label Label1 { *this, "Label1" };
    rt::TextBox Text1 { *this, "Text1" };
    rt::TextBox Text2 { *this, "Text2" };
    rt::ListBox List1 { *this, "List1" };
    rt::CommandButton Command1 { *this, "Command1" };
    rt::ComboBox Combo1 { *this, "Combo1" };
    rt::HScrollBar HScroll1 { *this, "HScroll1" };
    rt::Timer Timer1 { *this, "Timer1" };
    rt::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    rt::MediaPlayer WindowsMediaPlayer1 { *this, "WindowsMediaPlayer1" };
    rt::Menu mnu { *this, "mnu", "菜单" };
    rt::Menu mnuOpen { *this, "mnuOpen", "打开", &mnu };
    rt::Menu mnuLine { *this, "mnuLine", "-", &mnu };
    rt::Menu mnuMore { *this, "mnuMore", "更多", &mnu };
    rt::Menu mnuDeep { *this, "mnuDeep", "深处", &mnuMore };
    rt::Menu mnuHidden { *this, "mnuHidden", "隐藏", &mnu };

    std::vector<std::string> events;
    // What a click on Command1 does besides being logged.
    std::function<void()> onCommand;
};

// A window owned by another.
class Owned : public rt::Form {
public:
    explicit Owned(rt::App& app);
    rt::Label Label1 { *this, "Label1" };
};

} // namespace gui_testing
