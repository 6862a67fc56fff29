// The Qt WebEngine module: pages for the browsers a person sees. Built as a separate shared
// module so that the program loads Qt WebEngine only when a browser first shows a page.
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdlib>
#include <memory>

#include "gui/later_ptr.h"
#include "gui/web/media_log.h"
#include "gui/web_page.h"

namespace gui {

namespace {

// Collects what the windows read from a page, in document order, addresses absolute.
// How long a page may take to answer the snapshot script before it is read as empty.
constexpr int kSnapshotPatienceMs = 5000;

// A picture opened as a page is fitted to the area, larger or smaller, instead of shown at its
// own size and cut.
const char* const kFitPictureScript = R"JS(
(function () {
  if (!/^image\//.test(document.contentType || '') || !document.images[0]) return;
  var style = document.images[0].style;
  document.body.style.margin = '0';
  [['width', '100vw'], ['height', '100vh'], ['object-fit', 'contain'], ['margin', '0'],
   ['display', 'block']].forEach(function (p) { style.setProperty(p[0], p[1], 'important'); });
})();
)JS";

const char* const kSnapshotScript = R"JS(
(function () {
  var r = {html: '', links: [], images: [], all: [], active: ''};
  if (document.documentElement) r.html = document.documentElement.outerHTML;
  for (var i = 0; i < document.links.length; ++i) {
    var a = document.links[i];
    r.links.push([String(a.href), a.textContent || '']);
  }
  for (var j = 0; j < document.images.length; ++j) {
    var m = document.images[j];
    r.images.push([String(m.src), m.alt || '']);
  }
  var both = document.querySelectorAll('a[href], area[href], img');
  for (var k = 0; k < both.length; ++k) {
    var n = both[k];
    if (n.tagName === 'IMG') r.all.push([String(n.src), n.alt || '']);
    else r.all.push([String(n.href), n.textContent || '']);
  }
  var e = document.activeElement;
  if (e && e.href) r.active = String(e.href);
  return JSON.stringify(r);
})()
)JS";

// Why a page could not be reached, in the person's words, for the network errors a person
// can do something about; empty for the others (a stopped load, a refused certificate...).
QString unreachableReason(const QWebEngineLoadingInfo& info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain
        || info.errorDomain() == QWebEngineLoadingInfo::NoErrorDomain)
        return {};
    switch (std::abs(info.errorCode())) {
    case 106: // internet disconnected
        return QStringLiteral("没有网络连接");
    case 105: // name not resolved
    case 137: // name resolution failed
        return QStringLiteral("找不到该网站的服务器（域名无法解析）");
    case 102: // connection refused
        return QStringLiteral("对方服务器拒绝了连接");
    case 7: // timed out
    case 118: // connection timed out
        return QStringLiteral("连接超时");
    case 100: // connection closed
    case 101: // connection reset
    case 104: // connection failed
    case 109: // address unreachable
    case 21: // network changed
        return QStringLiteral("无法连接到该网站的服务器");
    default:
        return {};
    }
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

std::vector<PageLink> linksOf(const QJsonArray& array)
{
    std::vector<PageLink> out;
    out.reserve(static_cast<size_t>(array.size()));
    for (const auto& v : array) {
        const QJsonArray pair = v.toArray();
        out.push_back({ pair.at(0).toString(), pair.at(1).toString() });
    }
    return out;
}

// A page that keeps quiet when silent and reports its main-frame navigations.
class QuietPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    bool silent = false;
    std::function<void(const QUrl&)> navigating;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        // A written document arrives as a data address; writing is not navigating.
        if (isMainFrame && navigating && url.scheme() != QLatin1String("data"))
            navigating(url);
        return true;
    }
    void javaScriptAlert(const QUrl& origin, const QString& text) override
    {
        if (!silent)
            QWebEnginePage::javaScriptAlert(origin, text);
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& text) override
    {
        return silent ? false : QWebEnginePage::javaScriptConfirm(origin, text);
    }
    bool javaScriptPrompt(
        const QUrl& origin, const QString& text, const QString& value, QString* result) override
    {
        return silent ? false : QWebEnginePage::javaScriptPrompt(origin, text, value, result);
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override
    {
    }
};

// The program's one profile: pages keep their cookies and cache between runs, the cache in
// the browser cache folder the program is configured with.
QWebEngineProfile* sharedProfile(const WebStorage& storage)
{
    static QWebEngineProfile* profile = nullptr;
    if (!profile) {
        profile = new QWebEngineProfile(QStringLiteral("zelvora"), QCoreApplication::instance());
        if (!storage.dataFolder.isEmpty())
            profile->setPersistentStoragePath(storage.dataFolder);
        if (!storage.cacheFolder.isEmpty())
            profile->setCachePath(storage.cacheFolder);
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        installMediaLog(profile);
    }
    return profile;
}

class EnginePage : public WebPage {
public:
    explicit EnginePage(const WebStorage& storage)
    {
        m_view.reset(new QWebEngineView());
        m_page = new QuietPage(sharedProfile(storage), m_view.get());
        m_unreachablePage = storage.unreachablePage;
        m_view->setPage(m_page);
        // The window decides whether the page's context menu opens.
        m_view->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(
            m_view.get(), &QWidget::customContextMenuRequested, m_view.get(), [this](const QPoint& at) {
                if (onContextMenu && !onContextMenu())
                    return;
                QMenu* menu = m_view->createStandardContextMenu();
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(m_view->mapToGlobal(at));
            });
        m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        m_page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        m_page->navigating = [this](const QUrl& url) {
            if (onNavigating)
                onNavigating(url);
        };
        QObject::connect(m_page, &QWebEnginePage::loadingChanged, m_view.get(),
            [this](const QWebEngineLoadingInfo& info) { loadingChanged(info); });
        QObject::connect(m_page, &QWebEnginePage::loadFinished, m_view.get(), [this](bool ok) {
            // A page that could not be reached is replaced by the note saying so, and that
            // note's load is the one the window hears of.
            if (!ok && m_replacingFailure)
                return;
            m_replacingFailure = false;
            loaded();
        });
        QObject::connect(m_page, &QWebEnginePage::newWindowRequested, m_view.get(),
            [this](QWebEngineNewWindowRequest& request) { newWindow(request); });
    }

    ~EnginePage() override
    {
        *m_self = nullptr;
        m_page->navigating = nullptr;
        QObject::disconnect(m_page, nullptr, m_view.get(), nullptr);
        m_page->triggerAction(QWebEnginePage::Stop);
        // The view may be inside one of its own signals when its window goes away: it is let
        // go to Qt's event loop.
        m_view->hide();
        m_view->setParent(nullptr);
    }

    QWidget* widget() override { return m_view.get(); }

    void navigate(const QUrl& url) override
    {
        begin();
        m_written = false;
        m_page->load(url);
    }

    void setDocument(const QString& html) override
    {
        begin();
        m_written = true;
        m_page->setHtml(html, QUrl(QStringLiteral("about:blank")));
    }

    void reload() override
    {
        begin();
        m_page->triggerAction(QWebEnginePage::Reload);
    }

    void stop() override
    {
        m_page->triggerAction(QWebEnginePage::Stop);
        m_requested = false;
    }

    [[nodiscard]] bool busy() const override
    {
        return m_requested || m_page->isLoading() || m_snapshotPending;
    }

    void setSilent(bool silent) override { m_page->silent = silent; }

    void setBodyScroll(const QString& value) override
    {
        m_scroll = value;
        const bool off = value.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0;
        const QString script
            = QStringLiteral("if (document.body) { document.body.setAttribute('scroll', %1); "
                             "document.body.style.overflow = %2; }")
                  .arg(quoted(value), off ? QStringLiteral("'hidden'") : QStringLiteral("''"));
        m_page->runJavaScript(script);
    }

    // A written document stays at the address it was written into.
    [[nodiscard]] QUrl location() const override
    {
        return m_written ? QUrl(QStringLiteral("about:blank")) : m_page->url();
    }
    [[nodiscard]] QString documentText() const override { return m_html; }
    [[nodiscard]] std::vector<PageLink> links() const override { return m_links; }
    [[nodiscard]] std::vector<PageLink> images() const override { return m_images; }
    [[nodiscard]] std::vector<PageLink> linksAndImages() const override { return m_all; }
    // The page's active element, or the address of the last new-window request since the
    // page loaded (the link that asked for the window, which the window reads next).
    [[nodiscard]] QString activeElementHref() const override
    {
        return m_windowRequest.isEmpty() ? m_active : m_windowRequest;
    }

private:
    static QString quoted(const QString& text)
    {
        return QString::fromUtf8(QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact))
            .mid(1)
            .chopped(1);
    }

    void begin()
    {
        m_requested = true;
        m_replacingFailure = false;
        m_windowRequest.clear();
        ++m_generation;
    }

    void loaded()
    {
        m_requested = false;
        m_snapshotPending = true;
        const int generation = ++m_generation;
        // The answer may come after the page is gone, or not at all (the page went on to
        // another address): the page is read as empty after a while rather than stay busy.
        std::weak_ptr<EnginePage*> self = m_self;
        auto deliver = [self, generation](const QVariant& v) {
            auto alive = self.lock();
            if (alive && *alive)
                (*alive)->snapshot(generation, v);
        };
        m_page->runJavaScript(QString::fromLatin1(kFitPictureScript));
        m_page->runJavaScript(QString::fromLatin1(kSnapshotScript), deliver);
        QTimer::singleShot(kSnapshotPatienceMs, m_view.get(), [deliver] { deliver(QVariant()); });
    }

    void snapshot(int generation, const QVariant& v)
    {
        // A later load takes its own snapshot; a snapshot is taken once.
        if (generation != m_generation || !m_snapshotPending)
            return;
        const QJsonObject o = QJsonDocument::fromJson(v.toString().toUtf8()).object();
        m_html = o.value(QLatin1String("html")).toString();
        m_links = linksOf(o.value(QLatin1String("links")).toArray());
        m_images = linksOf(o.value(QLatin1String("images")).toArray());
        m_all = linksOf(o.value(QLatin1String("all")).toArray());
        m_active = o.value(QLatin1String("active")).toString();
        m_snapshotPending = false;
        if (onLoaded)
            onLoaded(location());
    }

    void loadingChanged(const QWebEngineLoadingInfo& info)
    {
        if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || m_written
            || m_unreachablePage.isEmpty())
            return;
        const QString reason = unreachableReason(info);
        if (reason.isEmpty())
            return;
        const QUrl url = info.url();
        const QString note
            = QString(m_unreachablePage)
                  .replace(QLatin1String("{{ADDRESS}}"), escaped(url.toDisplayString()))
                  .replace(QLatin1String("{{REASON}}"), escaped(reason))
                  .replace(QLatin1String("{{HREF}}"), escaped(url.toString(QUrl::FullyEncoded)));
        m_replacingFailure = true;
        // Not from inside the page's own report of the failure.
        std::weak_ptr<EnginePage*> self = m_self;
        QTimer::singleShot(0, m_view.get(), [self, note, url] {
            auto alive = self.lock();
            if (alive && *alive && (*alive)->m_replacingFailure)
                (*alive)->m_page->setHtml(note, url);
        });
    }

    void newWindow(QWebEngineNewWindowRequest& request)
    {
        m_windowRequest = request.requestedUrl().toString();
        bool cancel = false;
        if (onNewWindow)
            onNewWindow(request.requestedUrl(), cancel);
    }

    std::shared_ptr<EnginePage*> m_self = std::make_shared<EnginePage*>(this);
    LaterPtr<QWebEngineView> m_view;
    QuietPage* m_page = nullptr;
    bool m_written = false;
    bool m_requested = false;
    bool m_snapshotPending = false;
    int m_generation = 0;
    QString m_scroll;
    QString m_html;
    std::vector<PageLink> m_links;
    std::vector<PageLink> m_images;
    std::vector<PageLink> m_all;
    QString m_active;
    QString m_windowRequest;
    // The note shown for a page that could not be reached; set while it replaces one.
    QString m_unreachablePage;
    bool m_replacingFailure = false;
};

} // namespace

} // namespace gui

extern "C" Q_DECL_EXPORT gui::WebPage* zelvoraCreateWebPage(const gui::WebStorage& storage)
{
    return new gui::EnginePage(storage);
}
