#pragma once
// Records the media requests of the module's pages and keeps the profile's cookies.
class QWebEngineProfile;

namespace gui {

// Watches the profile's requests for media and its cookie store; call once per profile.
void installMediaLog(QWebEngineProfile* profile);

} // namespace gui
