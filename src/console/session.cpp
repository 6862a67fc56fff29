#include "console/session.h"

#include <algorithm>

#include "console/command_line.h"
#include "runtime/app.h"
#include "runtime/form.h"

namespace console {

namespace {
// Longest time one wait or idle may span: about 24 days of virtual time.
constexpr int64_t kMaxSpanMs = INT32_MAX;
// What idle runs at most when the script does not say.
constexpr int64_t kDefaultIdleMs = 60000;
} // namespace

struct Session::Command {
    std::string_view name;
    size_t minArgs;
    size_t maxArgs;
    void (Session::*run)(const Words&);
    std::string_view usage;
};

const std::vector<Session::Command>& Session::commands()
{
    constexpr size_t any = SIZE_MAX;
    static const std::vector<Command> table = {
        { "click", 1, 1, &Session::click, "click W.C" },
        { "dblclick", 1, 2, &Session::dblclick, "dblclick W.C [INDEX]" },
        { "select", 2, 2, &Session::select, "select W.C INDEX" },
        { "mousedown", 2, 4, &Session::mousedown, "mousedown W.C left|right [X Y]" },
        { "mouseup", 2, 4, &Session::mouseup, "mouseup W.C left|right [X Y]" },
        { "mousemove", 1, 3, &Session::mousemove, "mousemove W.C [X Y]" },
        { "type", 2, 2, &Session::type, "type W.C \"TEXT\"" },
        { "scroll", 2, 2, &Session::scroll, "scroll W.C VALUE" },
        { "drop", 2, any, &Session::drop, "drop W[.C] \"PATH\" [\"PATH\"...]" },
        { "menu", 1, 1, &Session::menu, "menu W.ITEM" },
        { "tray", 1, 1, &Session::tray, "tray left|right|double" },
        { "cookie", 3, 5, &Session::cookie, "cookie DOMAIN NAME \"VALUE\" [PATH [secure]]" },
        { "answer", 1, 2, &Session::answer,
            "answer yes|no|ok|cancel, answer file \"PATH\" or answer folder \"PATH\"" },
        { "media", 2, 2, &Session::media, "media W.C STATE" },
        { "wait", 1, 1, &Session::wait, "wait MS" },
        { "idle", 0, 1, &Session::idle, "idle [MAX_MS]" },
        { "get", 1, 1, &Session::get, "get W.C[.PROP]" },
        { "expect", 2, 2, &Session::expect, "expect W.C.PROP \"VALUE\"" },
        { "forms", 0, 0, &Session::forms, "forms" },
        { "messages", 0, 0, &Session::messages, "messages" },
        { "launches", 0, 0, &Session::launches, "launches" },
        { "notices", 0, 1, &Session::notices, "notices [click]" },
        { "media-log", 1, 1, &Session::mediaLog, "media-log W.C" },
        { "browser-log", 1, 1, &Session::browserLog, "browser-log W.C" },
        { "popups", 0, 0, &Session::popups, "popups" },
        { "echo", 0, any, &Session::echo, "echo TEXT..." },
        { "quit", 0, 0, &Session::quit, "quit" },
    };
    return table;
}

Session::Session(runtime::App& app, std::ostream& out)
    : m_app(app)
    , m_out(out)
    , m_host(app)
{
    m_app.setHost(&m_host);
}

Session::~Session()
{
    m_app.setHost(nullptr);
}

void Session::print(std::string_view line)
{
    m_out << line << '\n';
}

void Session::fail(std::string_view why)
{
    m_failed = true;
    // Names and words from the script may hold line breaks; an error stays one line.
    m_out << "error: " << escapeValue(why) << '\n';
}

bool Session::reportEnd()
{
    if (!m_host.ended() && !m_app.ended())
        return false;
    if (!m_endReported) {
        m_endReported = true;
        print("program ended");
        m_out.flush();
    }
    return true;
}

bool Session::runLine(std::string_view line)
{
    if (m_quit || reportEnd())
        return false;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const CommandLine parsed = splitCommandLine(line);
    if (!parsed.ok()) {
        fail(parsed.error);
    } else if (!parsed.words.empty()) {
        const std::string& name = parsed.words.front();
        const auto& table = commands();
        const auto it
            = std::find_if(table.begin(), table.end(), [&](const Command& c) { return c.name == name; });
        const Words args(parsed.words.begin() + 1, parsed.words.end());
        if (it == table.end())
            fail("unknown command " + inQuotes(name));
        else if (args.size() < it->minArgs || args.size() > it->maxArgs)
            fail("usage: " + std::string(it->usage));
        else
            (this->*(it->run))(args);
    }
    m_out.flush();
    return !reportEnd() && !m_quit;
}

int Session::run(std::istream& in)
{
    std::string line;
    while (!m_quit && !reportEnd() && std::getline(in, line)) {
        if (!runLine(line))
            break;
    }
    return exitStatus();
}

Target Session::reachable(std::string_view address, bool allowWindow)
{
    const Address a = splitAddress(address);
    Target t;
    if (a.hasRest || (!a.hasMember && !allowWindow)) {
        t.error
            = std::string(allowWindow ? "expected W or W.C, got " : "expected W.C, got ") + inQuotes(address);
    } else {
        t = findControl(m_app, a.window, a.hasMember ? a.member : a.window, allowWindow);
        if (t.ok()) {
            const auto blocked
                = t.control ? controlBlocked(m_app, *t.control) : windowBlocked(m_app, *t.form);
            if (blocked)
                t.error = *blocked;
        }
    }
    if (!t.ok())
        fail(t.error);
    return t;
}

runtime::Control* Session::loadedControl(
    std::string_view address, runtime::ControlKind kind, std::string_view what)
{
    const Address a = splitAddress(address);
    if (!a.hasMember || a.hasRest) {
        fail("expected W.C, got " + inQuotes(address));
        return nullptr;
    }
    const Target t = findControl(m_app, a.window, a.member, false);
    if (!t.ok()) {
        fail(t.error);
        return nullptr;
    }
    if (t.control->kind() != kind) {
        fail(a.window + "." + a.member + " is not " + std::string(what));
        return nullptr;
    }
    return t.control;
}

std::optional<int64_t> Session::spanOf(std::string_view command, std::string_view word)
{
    const auto ms = parseWholeNumber(word, 0, kMaxSpanMs);
    if (!ms)
        fail(std::string(command) + " needs milliseconds from 0 to " + std::to_string(kMaxSpanMs) + ", got "
            + inQuotes(word));
    return ms;
}

void Session::wait(const Words& args)
{
    const auto ms = spanOf("wait", args[0]);
    if (!ms)
        return;
    m_app.advance(*ms);
    // Time passed: a page asked for by a click finishes loading even when no timer ticked.
    if (!m_app.ended())
        m_host.settlePageLoads();
}

void Session::idle(const Words& args)
{
    const auto ms = args.empty() ? std::optional<int64_t>(kDefaultIdleMs) : spanOf("idle", args[0]);
    if (!ms)
        return;
    m_app.runUntilIdle(*ms);
    if (!m_app.ended())
        m_host.settlePageLoads();
}

void Session::echo(const Words& args)
{
    std::string line;
    for (size_t i = 0; i < args.size(); ++i)
        line += (i ? " " : "") + args[i];
    print(escapeValue(line));
}

void Session::quit(const Words&)
{
    m_quit = true;
}

} // namespace console
