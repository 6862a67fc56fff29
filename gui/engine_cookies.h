#pragma once
// The web engine's cookies, read through the web module, for downloads made as its pages are.
#include "platform/web_cookies.h"

namespace gui {

class WebModule;

class EngineCookies : public platform::WebCookies {
public:
    explicit EngineCookies(WebModule& web)
        : m_web(web)
    {
    }
    [[nodiscard]] std::vector<platform::WebCookie> cookies() const override;

private:
    WebModule& m_web;
};

} // namespace gui
