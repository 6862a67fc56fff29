#include "console/console_cookies.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "console/session.h"
#include "runtime/app.h"

namespace console {

namespace {

// More than a browser keeps for all its sites; a script asking for more is wrong.
constexpr size_t kMaxCookies = 1000;
constexpr size_t kMaxFieldBytes = 4096;

bool fieldHolds(const std::string& text, std::string_view refused)
{
    return text.size() <= kMaxFieldBytes && std::none_of(text.begin(), text.end(), [&](unsigned char c) {
        return c < 0x20 || c == 0x7f || refused.find(static_cast<char>(c)) != std::string_view::npos;
    });
}

// A host name or address, with a leading "." for a cookie of its subdomains too.
bool isDomain(const std::string& domain)
{
    const std::string host = domain.starts_with('.') ? domain.substr(1) : domain;
    return !host.empty() && host.size() <= 253 && std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
}

std::string problemOf(const platform::WebCookie& c)
{
    if (!isDomain(c.domain))
        return "a cookie's domain is a host name, got \"" + c.domain + "\"";
    if (c.name.empty() || !fieldHolds(c.name, " \t;=,\""))
        return "a cookie's name is a word without spaces, ';', '=', ',' or quotes";
    if (!fieldHolds(c.value, " \t;,\""))
        return "a cookie's value holds no spaces, ';', ',', quotes or control characters";
    if (!c.path.starts_with('/') || !fieldHolds(c.path, " \t;"))
        return "a cookie's path starts with '/' and holds no spaces or ';'";
    return {};
}

} // namespace

std::vector<platform::WebCookie> ConsoleCookies::cookies() const
{
    const std::lock_guard lock(m_mutex);
    return m_cookies;
}

std::string ConsoleCookies::set(platform::WebCookie cookie)
{
    if (std::string problem = problemOf(cookie); !problem.empty())
        return problem;
    const std::lock_guard lock(m_mutex);
    const auto same = std::find_if(m_cookies.begin(), m_cookies.end(), [&](const platform::WebCookie& c) {
        return c.domain == cookie.domain && c.path == cookie.path && c.name == cookie.name;
    });
    if (same != m_cookies.end()) {
        *same = std::move(cookie);
        return {};
    }
    if (m_cookies.size() >= kMaxCookies)
        return "a run holds at most " + std::to_string(kMaxCookies) + " cookies";
    m_cookies.push_back(std::move(cookie));
    return {};
}

void Session::cookie(const Words& args)
{
    platform::WebCookie c;
    c.domain = args[0];
    c.name = args[1];
    c.value = args[2];
    if (args.size() > 3)
        c.path = args[3];
    if (args.size() > 4 && args[4] != "secure")
        return fail("usage: cookie DOMAIN NAME \"VALUE\" [PATH [secure]]");
    c.secure = args.size() > 4;
    if (!m_cookies) {
        // The desktop's engine keeps the cookies its pages set; a script adds none to them.
        if (m_app.hasService<platform::WebCookies>())
            return fail("this run's web engine keeps its own cookies");
        m_cookies = std::make_shared<ConsoleCookies>();
        m_app.provide<platform::WebCookies>(m_cookies);
    }
    if (const std::string problem = m_cookies->set(std::move(c)); !problem.empty())
        fail(problem);
}

} // namespace console
