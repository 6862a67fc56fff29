#pragma once
// The web engine's cookies for one address's site, for the helper programs and downloads
// that fetch from that site: a Netscape cookie file only the user can read, removed when done.
#include <string>
#include <vector>

#include "platform/web_cookies.h"

namespace runtime {
class App;
}

namespace video {

struct WebFormat;

class SiteCookies {
public:
    // Writes the file when the engine holds cookies for the address's host.
    SiteCookies(runtime::App& app, const std::string& address);
    ~SiteCookies();
    SiteCookies(const SiteCookies&) = delete;
    SiteCookies& operator=(const SiteCookies&) = delete;
    // The cookie file, or an empty text when there is none.
    [[nodiscard]] const std::string& file() const { return m_file; }

private:
    std::string m_file;
};

// The Cookie request header of the engine's cookies for address ("Cookie: a=1; b=2"), or an
// empty text when none goes there.
std::string cookieHeader(runtime::App& app, const std::string& address);
// The request headers of a format's piece at address: the site's own, and the engine's
// cookies when the site's do not carry any.
std::vector<std::string> webHeaders(runtime::App& app, const WebFormat& format, const std::string& address);
// The host of a web address in lower case ("" when it has none).
std::string addressHost(const std::string& address);
// The Netscape cookie file text of the cookies that go to host; empty when none does.
std::string netscapeCookies(const std::vector<platform::WebCookie>& cookies, const std::string& host);

} // namespace video
