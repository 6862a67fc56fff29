#include "gui/engine_cookies.h"

#include <QDateTime>

#include "gui/web_media.h"
#include "gui/web_module.h"

namespace gui {

std::vector<platform::WebCookie> EngineCookies::cookies() const
{
    PlayedMediaLog log;
    // Without the module no page has set a cookie.
    if (auto played = reinterpret_cast<PlayedMediaFunction>(m_web.symbol(kPlayedMediaSymbol)))
        played(log);
    std::vector<platform::WebCookie> out;
    for (const QNetworkCookie& c : log.cookies) {
        platform::WebCookie cookie;
        cookie.domain = c.domain().toStdString();
        cookie.path = c.path().isEmpty() ? std::string("/") : c.path().toStdString();
        cookie.secure = c.isSecure();
        cookie.expires = c.isSessionCookie() ? 0 : c.expirationDate().toSecsSinceEpoch();
        cookie.name = c.name().toStdString();
        cookie.value = c.value().toStdString();
        out.push_back(std::move(cookie));
    }
    return out;
}

} // namespace gui
