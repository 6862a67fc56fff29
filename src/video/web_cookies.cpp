#include "video/web_cookies.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "common/data_folders.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "video/web_formats.h"

namespace video {

namespace {

bool goesTo(const platform::WebCookie& cookie, const std::string& host)
{
    std::string domain = cookie.domain;
    std::transform(
        domain.begin(), domain.end(), domain.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool subdomains = !domain.empty() && domain[0] == '.';
    if (subdomains)
        domain.erase(0, 1);
    if (domain.empty())
        return false;
    if (host == domain)
        return true;
    return subdomains && host.size() > domain.size() && host.ends_with("." + domain);
}

// The path of a web address's request ("/" when it has none), without its query.
std::string addressPath(const std::string& address)
{
    const size_t scheme = address.find("://");
    const size_t slash
        = scheme == std::string::npos ? std::string::npos : address.find_first_of("/?#", scheme + 3);
    if (slash == std::string::npos || address[slash] != '/')
        return "/";
    return address.substr(slash, address.find_first_of("?#", slash) - slash);
}

// Whether the cookie's path covers the request's path: the same path, or a folder of it.
bool pathMatches(const std::string& cookiePath, const std::string& requestPath)
{
    if (cookiePath.empty() || cookiePath == requestPath)
        return true;
    return requestPath.starts_with(cookiePath)
        && (cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/');
}

bool expired(const platform::WebCookie& cookie)
{
    return cookie.expires != 0 && cookie.expires <= static_cast<long long>(std::time(nullptr));
}

// Sound: a cookie goes with a request as a browser would send it: to its host (or, for a
// domain cookie, its subdomains), under its path, over https only when it is secure, and not
// once it has expired.
bool sentWith(const platform::WebCookie& cookie, const std::string& address)
{
    const std::string host = addressHost(address);
    std::string scheme = address.substr(0, 8);
    std::transform(
        scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool https = scheme == "https://";
    return !host.empty() && goesTo(cookie, host) && pathMatches(cookie.path, addressPath(address))
        && (https || !cookie.secure) && !expired(cookie);
}

// A field that would break the file's lines or columns.
bool plainField(const std::string& text)
{
    return text.find_first_of("\t\r\n") == std::string::npos;
}

} // namespace

std::string addressHost(const std::string& address)
{
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos)
        return {};
    std::string authority = address.substr(scheme + 3, address.find_first_of("/?#", scheme + 3) - scheme - 3);
    if (const size_t at = authority.rfind('@'); at != std::string::npos)
        authority.erase(0, at + 1);
    if (authority.rfind('[', 0) != 0)
        authority = authority.substr(0, authority.find(':'));
    std::transform(authority.begin(), authority.end(), authority.begin(),
        [](unsigned char c) { return std::tolower(c); });
    return authority;
}

std::string netscapeCookies(const std::vector<platform::WebCookie>& cookies, const std::string& host)
{
    std::string lines;
    for (const platform::WebCookie& c : cookies) {
        if (host.empty() || !goesTo(c, host) || expired(c) || c.name.empty() || !plainField(c.domain)
            || !plainField(c.path) || !plainField(c.name) || !plainField(c.value))
            continue;
        const bool subdomains = c.domain[0] == '.';
        lines += c.domain + "\t" + (subdomains ? "TRUE" : "FALSE") + "\t" + (c.path.empty() ? "/" : c.path)
            + "\t" + (c.secure ? "TRUE" : "FALSE") + "\t" + std::to_string(std::max(c.expires, 0LL)) + "\t"
            + c.name + "\t" + c.value + "\n";
    }
    return lines.empty() ? lines : "# Netscape HTTP Cookie File\n" + lines;
}

SiteCookies::SiteCookies(runtime::App& app, const std::string& address)
{
    if (!app.hasService<platform::WebCookies>())
        return;
    const std::string text
        = netscapeCookies(app.service<platform::WebCookies>().cookies(), addressHost(address));
    if (text.empty())
        return;
    common::EnsureTempFolder(app);
    const std::string file = platform::temporaryPath(common::dataPaths(app).temp, "cookies");
    // Sound: the values stay in a file only the user can read, and only for as long as needed.
    if (platform::writePrivateFile(file, text).ok)
        m_file = file;
}

std::string cookieHeader(runtime::App& app, const std::string& address)
{
    if (!app.hasService<platform::WebCookies>())
        return {};
    std::string pairs;
    for (const platform::WebCookie& c : app.service<platform::WebCookies>().cookies()) {
        if (sentWith(c, address) && !c.name.empty() && plainField(c.name) && plainField(c.value))
            pairs += (pairs.empty() ? "" : "; ") + c.name + "=" + c.value;
    }
    return pairs.empty() ? pairs : "Cookie: " + pairs;
}

std::vector<std::string> webHeaders(runtime::App& app, const WebFormat& format, const std::string& address)
{
    std::vector<std::string> headers;
    bool cookie = false;
    for (const auto& [name, value] : format.headers) {
        headers.push_back(std::string(name).append(": ").append(value));
        cookie = cookie || name == "Cookie";
    }
    if (!cookie) {
        if (std::string header = cookieHeader(app, address); !header.empty())
            headers.push_back(std::move(header));
    }
    return headers;
}

SiteCookies::~SiteCookies()
{
    if (!m_file.empty())
        std::ignore = platform::deleteFile(m_file); // else the next start's sweep does
}

} // namespace video
