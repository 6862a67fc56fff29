// Emptying the HTTP cache of the module's one profile.
#include <QCoreApplication>
#include <QWebEngineProfile>

// The profile is a child of the application; false when no page has created it yet.
extern "C" Q_DECL_EXPORT bool zelvoraClearHttpCache()
{
    auto* profile
        = QCoreApplication::instance()->findChild<QWebEngineProfile*>(QString(), Qt::FindDirectChildrenOnly);
    if (!profile)
        return false;
    profile->clearHttpCache();
    return true;
}
