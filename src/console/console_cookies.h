#pragma once
// The cookies of a headless run. The console has no web engine, so a script puts in the
// cookies a site's pages would have set; downloads and yt-dlp then get them as they get the
// desktop engine's.
#include <mutex>
#include <string>
#include <vector>

#include "platform/web_cookies.h"

namespace console {

class ConsoleCookies : public platform::WebCookies {
public:
    std::vector<platform::WebCookie> cookies() const override;
    // Adds the cookie, or replaces the one of the same domain, path and name. Returns why it
    // was refused (a field a cookie cannot hold, or a full store), empty when it was kept.
    std::string set(platform::WebCookie cookie);

private:
    mutable std::mutex m_mutex;
    std::vector<platform::WebCookie> m_cookies;
};

} // namespace console
