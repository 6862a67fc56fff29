#pragma once
// What the Qt WebEngine module tells the front end about the media its pages played: the
// addresses they loaded as media and the cookies that go with them, so the song harvest can
// fetch the same songs again as the pages did.
#include <QList>
#include <QNetworkCookie>
#include <QUrl>
#include <cstdint>
#include <vector>

namespace gui {

// One address a page loaded as audio or video.
struct PlayedMedia {
    QUrl url;
    // The page that loaded it (sent as the referrer).
    QUrl page;
    // Grows with every request, so a song played again after a harvest is new again.
    uint64_t serial = 0;
};

struct PlayedMediaLog {
    // One entry per address, in the order they were first played.
    std::vector<PlayedMedia> media;
    // The cookies of the pages' profile.
    QList<QNetworkCookie> cookies;
    QByteArray userAgent;
};

// The module's export that fills a log; looked up by name once the module is loaded.
using PlayedMediaFunction = void (*)(PlayedMediaLog& log);
inline constexpr const char* kPlayedMediaSymbol = "zelvoraPlayedMedia";

} // namespace gui
