// The commands that observe the program as a tester does: values, windows, dialogs shown,
// programs started and calls made on the engines.
#include "console/command_line.h"
#include "console/session.h"
#include "platform/dialogs.h"
#include "platform/notices.h"
#include "platform/recording_shell.h"
#include "runtime/app.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace console {

void Session::get(const Words& args)
{
    const PropertyValue v = readProperty(m_app, args[0]);
    if (!v.ok())
        return fail(v.error);
    if (!v.isList)
        return print(escapeValue(v.text));
    for (const std::string& entry : v.lines)
        print(escapeValue(entry));
}

void Session::expect(const Words& args)
{
    const PropertyValue v = readProperty(m_app, args[0]);
    if (!v.ok())
        return fail(v.error);
    if (v.text == args[1])
        return print("ok");
    m_failed = true;
    print(
        "FAIL " + escapeValue(args[0]) + ": expected " + quoteValue(args[1]) + " got " + quoteValue(v.text));
}

void Session::forms(const Words&)
{
    for (const runtime::Form* f : m_app.forms())
        print(escapeValue(f->name()) + (f->visible() ? " shown" : " hidden") + (f->modal() ? " modal" : ""));
}

void Session::messages(const Words&)
{
    if (!m_app.hasService<platform::ScriptedDialogs>())
        return fail("this run has no scripted dialogs");
    for (const platform::ShownMessage& m : m_app.service<platform::ScriptedDialogs>().takeMessages()) {
        print(escapeValue(m.request.text) + '\t' + escapeValue(m.request.title) + '\t'
            + platform::buttonsName(m.request.buttons) + '\t' + platform::answerName(m.answer));
    }
}

void Session::launches(const Words&)
{
    if (!m_app.hasService<platform::RecordingShell>())
        return fail("this run starts programs for real and does not record them");
    for (const std::string& launch : m_app.service<platform::RecordingShell>().takeLaunches())
        print(escapeValue(launch));
}

// The desktop notices shown so far (title and text); "click" clicks the latest.
void Session::notices(const Words& args)
{
    if (!m_app.hasService<platform::Notices>())
        return fail("this run shows no notices");
    platform::Notices& notices = m_app.service<platform::Notices>();
    if (!args.empty()) {
        if (args[0] != "click")
            return fail("usage: notices [click]");
        bool clicked = false;
        m_app.dispatch([&] { clicked = notices.clickLatest(); });
        if (!clicked)
            fail("no notice was shown");
        return;
    }
    for (const platform::Notice& notice : notices.shown())
        print(escapeValue(notice.title) + '\t' + escapeValue(notice.text));
}

void Session::printLog(runtime::CallLog& log)
{
    for (const std::string& entry : log.take())
        print(escapeValue(entry));
}

void Session::mediaLog(const Words& args)
{
    if (runtime::Control* c = loadedControl(args[0], runtime::ControlKind::MediaPlayer, "a media player"))
        printLog(static_cast<runtime::MediaPlayer&>(*c).log());
}

void Session::browserLog(const Words& args)
{
    if (runtime::Control* c = loadedControl(args[0], runtime::ControlKind::WebBrowser, "a web browser"))
        printLog(static_cast<runtime::WebBrowser&>(*c).log());
}

void Session::popups(const Words&)
{
    for (const std::string& name : m_host.takePopups())
        print(escapeValue(name));
}

} // namespace console
