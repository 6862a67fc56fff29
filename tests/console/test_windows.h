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
class Panel : public rt::Form {
public:
    explicit Panel(rt::App& app);

    rt::ListBox events { *this, "events" };
    rt::Label Label1 { *this, "Label1" };
    rt::TextBox Text1 { *this, "Text1" };
    rt::TextBox Locked { *this, "Locked" };
    rt::CommandButton Command1 { *this, "Command1" };
    rt::CommandButton Ask { *this, "Ask" };
    rt::CommandButton Open { *this, "Open" };
    rt::CommandButton Folder { *this, "Folder" };
    rt::CommandButton Launch { *this, "Launch" };
    rt::CommandButton Quit { *this, "Quit" };
    rt::CommandButton Pop { *this, "Pop" };
    rt::CommandButton ShowDialog { *this, "ShowDialog" };
    rt::CommandButton CloseMe { *this, "CloseMe" };
    rt::CommandButton Play { *this, "Play" };
    rt::CommandButton Go { *this, "Go" };
    rt::TextBox Address { *this, "Address" };
    rt::Timer Poll { *this, "Poll" };
    rt::CommandButton Start { *this, "Start" };
    rt::CommandButton Minimise { *this, "Minimise" };
    rt::CommandButton Hidden { *this, "Hidden" };
    rt::CommandButton Disabled { *this, "Disabled" };
    rt::Frame Frame1 { *this, "Frame1" };
    rt::OptionButton Option1 { *this, "Option1" };
    rt::OptionButton Option2 { *this, "Option2" };
    rt::Frame Frame2 { *this, "Frame2" };
    rt::CommandButton InFrame { *this, "InFrame" };
    rt::ListBox List1 { *this, "List1" };
    rt::ListBox List2 { *this, "List2" };
    rt::ComboBox Combo1 { *this, "Combo1" };
    rt::HScrollBar HScroll1 { *this, "HScroll1" };
    rt::Timer Timer1 { *this, "Timer1" };
    rt::Timer Tick { *this, "Tick" };
    rt::MediaPlayer Player { *this, "Player" };
    rt::WebBrowser Browser { *this, "Browser" };
    rt::Menu mnuFile { *this, "mnuFile", "File" };
    rt::Menu mnuOpen { *this, "mnuOpen", "Open", &mnuFile };
    rt::Menu mnuOff { *this, "mnuOff", "Off", &mnuFile };
    rt::Menu mnuChild { *this, "mnuChild", "Child", &mnuOff };

private:
    void log(const std::string& line) { events.addItem(line); }
    void wireMouse(rt::Control& c);
    void Ask_Click();
    void Open_Click();
    void Folder_Click();
    void Timer1_Timer();
    void Tick_Timer();
    int m_ticks = 0;
};

// A window shown modally over the panel; it can open a modeless helper window of its own.
class Dialog : public rt::Form {
public:
    explicit Dialog(rt::App& app);
    rt::CommandButton OK { *this, "OK" };
    rt::CommandButton More { *this, "More" };
};

// A modeless window owned by the modal dialog.
class Helper : public rt::Form {
public:
    explicit Helper(rt::App& app);
    rt::CommandButton Apply { *this, "Apply" };
    rt::Label Result { *this, "Result" };
};

// A window that is known by name but never loaded.
class Never : public rt::Form {
public:
    explicit Never(rt::App& app)
        : rt::Form(app, "Never")
    {
    }
};

// A hidden window that owns the notification icon and pops up its menu on a right press.
class TrayOwner : public rt::Form {
public:
    explicit TrayOwner(rt::App& app);
    void load() override;

    rt::PictureBox pic { *this, "pic" };
    rt::ListBox events { *this, "events" };
    rt::Menu kuai { *this, "kuai", "Menu" };
    rt::Menu leave { *this, "leave", "Leave", &kuai };

private:
    platform::NotifyIconRecord m_icon;
};

// Registers the test windows, loads the tray owner and shows the panel.
void startTestProgram(rt::App& app);

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
