#pragma once
// Small windows that the console tests drive: one control of every kind a script acts on,
// each handler writing what it saw into the hidden list `events`, which scripts read back.
#include <string>

#include "platform/tray.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace console_test {

// The main test window, shown at start.
class Panel : public runtime::Form {
public:
    explicit Panel(runtime::App& app);

    runtime::ListBox events { *this, "events" };
    runtime::Label Label1 { *this, "Label1" };
    runtime::TextBox Text1 { *this, "Text1" };
    runtime::TextBox Locked { *this, "Locked" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::CommandButton Ask { *this, "Ask" };
    runtime::CommandButton Open { *this, "Open" };
    runtime::CommandButton Folder { *this, "Folder" };
    runtime::CommandButton Launch { *this, "Launch" };
    runtime::CommandButton Pop { *this, "Pop" };
    runtime::CommandButton ShowDialog { *this, "ShowDialog" };
    runtime::CommandButton CloseMe { *this, "CloseMe" };
    runtime::CommandButton Play { *this, "Play" };
    runtime::CommandButton Go { *this, "Go" };
    runtime::TextBox Address { *this, "Address" };
    runtime::Timer Poll { *this, "Poll" };
    runtime::CommandButton Start { *this, "Start" };
    runtime::CommandButton Minimise { *this, "Minimise" };
    runtime::CommandButton Hidden { *this, "Hidden" };
    runtime::CommandButton Disabled { *this, "Disabled" };
    runtime::Frame Frame1 { *this, "Frame1" };
    runtime::OptionButton Option1 { *this, "Option1" };
    runtime::OptionButton Option2 { *this, "Option2" };
    runtime::Frame Frame2 { *this, "Frame2" };
    runtime::CommandButton InFrame { *this, "InFrame" };
    runtime::ListBox List1 { *this, "List1" };
    runtime::ListBox List2 { *this, "List2" };
    runtime::ComboBox Combo1 { *this, "Combo1" };
    runtime::HScrollBar HScroll1 { *this, "HScroll1" };
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::Timer Tick { *this, "Tick" };
    runtime::MediaPlayer Player { *this, "Player" };
    runtime::WebBrowser Browser { *this, "Browser" };
    runtime::Menu mnuFile { *this, "mnuFile", "File" };
    runtime::Menu mnuOpen { *this, "mnuOpen", "Open", &mnuFile };
    runtime::Menu mnuOff { *this, "mnuOff", "Off", &mnuFile };
    runtime::Menu mnuChild { *this, "mnuChild", "Child", &mnuOff };

private:
    void log(const std::string& line) { events.addItem(line); }
    void wireMouse(runtime::Control& c);
    void Ask_Click();
    void Open_Click();
    void Folder_Click();
    void Timer1_Timer();
    void Tick_Timer();
    int m_ticks = 0;
};

// A window shown modally over the panel; it can open a modeless helper window of its own.
class Dialog : public runtime::Form {
public:
    explicit Dialog(runtime::App& app);
    runtime::CommandButton OK { *this, "OK" };
    runtime::CommandButton More { *this, "More" };
};

// A modeless window owned by the modal dialog.
class Helper : public runtime::Form {
public:
    explicit Helper(runtime::App& app);
    runtime::CommandButton Apply { *this, "Apply" };
    runtime::Label Result { *this, "Result" };
};

// A window that is known by name but never loaded.
class Never : public runtime::Form {
public:
    explicit Never(runtime::App& app)
        : runtime::Form(app, "Never")
    {
    }
};

// A hidden window that owns the notification icon and pops up its menu on a right press.
class TrayOwner : public runtime::Form {
public:
    explicit TrayOwner(runtime::App& app);
    void load() override;

    runtime::PictureBox pic { *this, "pic" };
    runtime::ListBox events { *this, "events" };
    runtime::Menu kuai { *this, "kuai", "Menu" };
    runtime::Menu leave { *this, "leave", "Leave", &kuai };

private:
    platform::NotifyIconRecord m_icon;
};

// Registers the test windows, loads the tray owner and shows the panel.
void startTestProgram(runtime::App& app);

// What a console run printed and its exit status.
struct ScriptRun {
    std::string output;
    int status = -1;
};

// Runs a script against the test windows in a fresh app with headless services and a
// temporary profile. Without the tray the panel is only registered, not loaded; without
// headless pages the browsers only record what they are asked.
ScriptRun runScript(const std::string& script, bool withTray = true, bool headlessPages = false);

} // namespace console_test
