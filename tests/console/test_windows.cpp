#include "console/test_windows.h"

#include <memory>
#include <sstream>

#include "assembly/services.h"
#include "console/session.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "runtime/vbtext.h"
#include "support/temp_dir.h"

namespace console_test {

namespace {

std::string position(const runtime::MouseEvent& e)
{
    return std::to_string(e.button) + " " + runtime::propertyText(e.x) + " " + runtime::propertyText(e.y);
}

std::string joined(const std::vector<std::string>& paths)
{
    std::string out;
    for (const std::string& p : paths)
        out += (out.empty() ? "" : "|") + p;
    return out;
}

} // namespace

Panel::Panel(runtime::App& app)
    : runtime::Form(app, "Panel")
{
    events.setVisible(false);
    Locked.setLocked(true);
    Hidden.setVisible(false);
    Disabled.setEnabled(false);
    Option1.setContainer(&Frame1);
    Option2.setContainer(&Frame1);
    InFrame.setContainer(&Frame2);
    Frame2.setEnabled(false);
    mnuOff.setEnabled(false);
    List1.setItems({ "one", "two", "three" });
    List2.setItems({ "gone" });
    Combo1.setItems({ "alpha", "beta" });
    HScroll1.setRange(0, 100);
    Label1.setCaption("a\tb\\c");

    Text1.onChange = [this] { log("Text1_Change " + Text1.text()); };
    Command1.onClick = [this] { log("Command1_Click"); };
    Ask.onClick = [this] { Ask_Click(); };
    Open.onClick = [this] { Open_Click(); };
    Folder.onClick = [this] { Folder_Click(); };
    Launch.onClick
        = [this] { std::ignore = this->app().service<platform::Shell>().open("https://example.test/"); };
    Pop.onClick = [this] { popupMenu(mnuFile); };
    ShowDialog.onClick = [this] { this->app().get<Dialog>().show(true, this); };
    Minimise.onClick = [this] { setWindowState(runtime::WindowState::Minimized); };
    CloseMe.onClick = [this] { this->app().unload(*this); };
    Play.onClick = [this] {
        Player.setUrl("/music/a.mp3");
        Player.play();
    };
    // Navigates, then a one-shot timer looks at the browser, as the windows' page jobs do.
    Go.onClick = [this] {
        Browser.navigate(Address.text().empty() ? "http://127.0.0.1/page" : Address.text());
        Poll.start(1);
    };
    Poll.onTimer = [this] {
        Poll.setEnabled(false);
        log(Browser.busy() ? "Poll busy" : "Poll " + std::to_string(Browser.links().size()) + " links");
    };
    Start.onClick = [this] {
        Timer1.start(50);
        Tick.start(100);
    };
    Option1.onClick = [this] { log("Option1_Click"); };
    Option2.onClick = [this] { log("Option2_Click"); };
    List1.onClick = [this] { log("List1_Click " + std::to_string(List1.listIndex())); };
    List1.onDblClick = [this] { log("List1_DblClick " + std::to_string(List1.listIndex())); };
    List1.onDragDrop = [this](const std::vector<std::string>& p) { log("List1_DragDrop " + joined(p)); };
    List2.onClick = [this] { List2.setVisible(false); };
    List2.onDblClick = [this] { log("List2_DblClick"); };
    Combo1.onClick = [this] { log("Combo1_Click " + std::to_string(Combo1.listIndex())); };
    Combo1.onChange = [this] { log("Combo1_Change " + Combo1.text()); };
    HScroll1.onChange = [this] { log("HScroll1_Change " + std::to_string(HScroll1.value())); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Tick.onTimer = [this] { Tick_Timer(); };
    Player.onPlayStateChange = [this](int state) { log("Player_PlayStateChange " + std::to_string(state)); };
    mnuOpen.onClick = [this] { log("mnuOpen_Click"); };
    mnuChild.onClick = [this] { log("mnuChild_Click"); };
    onDblClick = [this] { log("Form_DblClick"); };
    onDragDrop = [this](const std::vector<std::string>& p) { log("Form_DragDrop " + joined(p)); };
    onMouseDown = [this](const runtime::MouseEvent& e) { log("Form_MouseDown " + position(e)); };
    onMouseMove = [this](const runtime::MouseEvent& e) { log("Form_MouseMove " + position(e)); };
    onMouseUp = [this](const runtime::MouseEvent& e) { log("Form_MouseUp " + position(e)); };
    wireMouse(Label1);
}

void Panel::wireMouse(runtime::Control& c)
{
    const std::string name = c.name();
    c.onMouseDown = [this, name](const runtime::MouseEvent& e) { log(name + "_MouseDown " + position(e)); };
    c.onMouseMove = [this, name](const runtime::MouseEvent& e) { log(name + "_MouseMove " + position(e)); };
    c.onMouseUp = [this, name](const runtime::MouseEvent& e) { log(name + "_MouseUp " + position(e)); };
}

void Panel::Ask_Click()
{
    platform::MessageBoxRequest ask;
    ask.text = "Sure?\nReally";
    ask.title = "Question";
    ask.buttons = platform::YesNo;
    ask.defaultButton = platform::DefaultButton2;
    log("Ask " + platform::answerName(app().service<platform::Dialogs>().messageBox(ask)));
}

void Panel::Open_Click()
{
    const auto file = app().service<platform::Dialogs>().openFile({});
    log("Open " + file.value_or("(cancelled)"));
}

void Panel::Folder_Click()
{
    const auto folder = app().service<platform::Dialogs>().browseFolder("Pick", "");
    log("Folder " + folder.value_or("(cancelled)"));
}

void Panel::Timer1_Timer()
{
    Timer1.setEnabled(false);
    log("Timer1_Timer");
}

void Panel::Tick_Timer()
{
    if (++m_ticks >= 3)
        Tick.setEnabled(false);
    log("Tick_Timer " + std::to_string(m_ticks));
}

Dialog::Dialog(runtime::App& app)
    : runtime::Form(app, "Dialog")
{
    OK.onClick = [this] { hide(); };
    More.onClick = [this] { this->app().get<Helper>().show(false, this); };
}

Helper::Helper(runtime::App& app)
    : runtime::Form(app, "Helper")
{
    Apply.onClick = [this] { Result.setCaption("applied"); };
}

TrayOwner::TrayOwner(runtime::App& app)
    : runtime::Form(app, "TrayOwner")
{
    pic.onMouseMove = [this](const runtime::MouseEvent& e) {
        const std::string message = vb::Hex(static_cast<int64_t>(e.x) / runtime::kTwipsPerPixel);
        events.addItem(message);
        if (message == "204")
            popupMenu(kuai);
    };
    leave.onClick = [this] { this->app().end(); };
}

void TrayOwner::load()
{
    m_icon.window = &pic;
    m_icon.tip = "tip";
    app().service<platform::TrayIcon>().add(m_icon);
}

void startTestProgram(runtime::App& app)
{
    app.registerWindow<Panel>("Panel");
    app.registerWindow<Dialog>("Dialog");
    app.registerWindow<Never>("Never");
    app.registerWindow<Helper>("Helper");
    app.registerWindow<TrayOwner>("TrayOwner");
    app.get<TrayOwner>();
    app.get<Panel>().show();
}

ScriptRun runScript(const std::string& script, bool withTray, bool headlessPages)
{
    testing_support::TempDir profile;
    runtime::App app;
    assembly::ServiceOptions options;
    options.profile = profile.path().string();
    options.headless = true;
    assembly::installServices(app, std::make_shared<platform::Config>(), options);
    if (!headlessPages)
        app.setBrowserFactory({});
    std::ostringstream out;
    ScriptRun run;
    {
        console::Session session(app, out);
        if (withTray)
            startTestProgram(app);
        else
            app.registerWindow<Panel>("Panel");
        std::istringstream in(script);
        run.status = session.run(in);
    }
    run.output = out.str();
    return run;
}

} // namespace console_test
