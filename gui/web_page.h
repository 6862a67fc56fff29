#pragma once
// The boundary between the front end and its Qt WebEngine module. The module is loaded only
// when a browser first shows a real page: the engine is large, and start-up stays fast and
// small without it.
#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

class QWidget;

namespace gui {

// An anchor or an image of a page: its absolute address and its text.
struct PageLink {
    QString href;
    QString text;
};

// One page of Qt WebEngine with the reads the windows make, answered from a snapshot taken
// when a load finishes (Qt WebEngine answers questions about a page only asynchronously).
class WebPage {
public:
    virtual ~WebPage() = default;
    // The view showing the page; owned by the page.
    virtual QWidget* widget() = 0;
    virtual void navigate(const QUrl& url) = 0;
    // Replaces the document with this HTML text.
    virtual void setDocument(const QString& html) = 0;
    virtual void reload() = 0;
    virtual void stop() = 0;
    // True from a navigation request until the page has loaded and its snapshot is taken.
    [[nodiscard]] virtual bool busy() const = 0;
    // Silent: scripts show no dialogs.
    virtual void setSilent(bool silent) = 0;
    // The body's scroll attribute ("no" turns scrolling off) on the current document.
    virtual void setBodyScroll(const QString& value) = 0;
    [[nodiscard]] virtual QUrl location() const = 0;
    [[nodiscard]] virtual QString documentText() const = 0;
    [[nodiscard]] virtual std::vector<PageLink> links() const = 0;
    [[nodiscard]] virtual std::vector<PageLink> images() const = 0;
    // Anchors and images together, in document order.
    [[nodiscard]] virtual std::vector<PageLink> linksAndImages() const = 0;
    [[nodiscard]] virtual QString activeElementHref() const = 0;

    // Reports back to the front end, on the UI thread.
    // A main-frame navigation is about to start.
    std::function<void(const QUrl&)> onNavigating;
    // The page asked for a new window; setting cancel keeps it from opening elsewhere.
    std::function<void(const QUrl&, bool& cancel)> onNewWindow;
    // A load finished and its snapshot is taken.
    std::function<void(const QUrl&)> onLoaded;
    // The person asked for the page's context menu; false refuses it.
    std::function<bool()> onContextMenu;
};

// Where the pages of the program keep what they store: the web cache (the browser cache
// folder the program is configured with) and cookies and site data.
struct WebStorage {
    QString cacheFolder;
    QString dataFolder;
    // The page shown instead of one that cannot be reached: HTML with {{ADDRESS}}, {{REASON}}
    // and {{HREF}} (the address to try again) to fill in.
    QString unreachablePage;
};

// The module's one exported function: creates a page (all pages share one profile, set up
// with the storage given to the first page), or returns nullptr.
using CreateWebPageFunction = WebPage* (*)(const WebStorage& storage);
inline constexpr const char* kCreateWebPageSymbol = "zelvoraCreateWebPage";

} // namespace gui
