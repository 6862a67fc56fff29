#include "gui/web/media_log.h"

#include <QMutex>
#include <QMutexLocker>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include "gui/web_media.h"

namespace gui {

namespace {

// The log of one profile: what its pages loaded as media, and its cookies.
struct MediaLog {
    QMutex mutex;
    PlayedMediaLog log;
    uint64_t serial = 0;
};

MediaLog& mediaLog()
{
    static MediaLog log;
    return log;
}

bool sameCookie(const QNetworkCookie& a, const QNetworkCookie& b)
{
    return a.name() == b.name() && a.domain() == b.domain() && a.path() == b.path();
}

// Sees every request of the profile's pages; the media ones are written down.
class MediaInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        if (info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMedia)
            return;
        const QUrl url = info.requestUrl();
        if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
            return;
        MediaLog& m = mediaLog();
        QMutexLocker lock(&m.mutex);
        const uint64_t serial = ++m.serial;
        for (PlayedMedia& played : m.log.media) {
            if (played.url == url) {
                played.serial = serial;
                played.page = info.firstPartyUrl();
                return;
            }
        }
        m.log.media.push_back({ url, info.firstPartyUrl(), serial });
    }
};

} // namespace

void installMediaLog(QWebEngineProfile* profile)
{
    profile->setUrlRequestInterceptor(new MediaInterceptor(profile));
    {
        QMutexLocker lock(&mediaLog().mutex);
        mediaLog().log.userAgent = profile->httpUserAgent().toUtf8();
    }
    QWebEngineCookieStore* store = profile->cookieStore();
    QObject::connect(store, &QWebEngineCookieStore::cookieAdded, profile, [](const QNetworkCookie& cookie) {
        QMutexLocker lock(&mediaLog().mutex);
        auto& cookies = mediaLog().log.cookies;
        cookies.removeIf([&](const QNetworkCookie& c) { return sameCookie(c, cookie); });
        cookies.append(cookie);
    });
    QObject::connect(store, &QWebEngineCookieStore::cookieRemoved, profile, [](const QNetworkCookie& cookie) {
        QMutexLocker lock(&mediaLog().mutex);
        mediaLog().log.cookies.removeIf([&](const QNetworkCookie& c) { return sameCookie(c, cookie); });
    });
    store->loadAllCookies();
}

} // namespace gui

extern "C" Q_DECL_EXPORT void zelvoraPlayedMedia(gui::PlayedMediaLog& log)
{
    QMutexLocker lock(&gui::mediaLog().mutex);
    log = gui::mediaLog().log;
}
