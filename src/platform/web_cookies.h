#pragma once
// The cookies the front end's web engine holds, so downloads can be made as its pages are.
#include <string>
#include <vector>

namespace platform {

struct WebCookie {
    // The host the cookie belongs to; with a leading "." it also goes to its subdomains.
    std::string domain;
    std::string path = "/";
    bool secure = false;
    // Seconds since 1970 when it expires; 0 for a cookie of the session.
    long long expires = 0;
    std::string name;
    std::string value;
};

class WebCookies {
public:
    virtual ~WebCookies() = default;
    // Every cookie the engine holds now.
    [[nodiscard]] virtual std::vector<WebCookie> cookies() const = 0;
};

} // namespace platform
