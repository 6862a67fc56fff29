#pragma once
// The songs the program's own web pages played, as a media cache for the song harvest.
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "platform/media_cache.h"

namespace gui {

class WebModule;
struct PlayedMedia;
struct PlayedMediaLog;

// Qt WebEngine keeps the media it plays in its disk cache as byte ranges of its own format,
// not as song files; so this cache fetches each address the pages loaded as media again,
// with the pages' cookies, user agent and referrer. A fetch that does not arrive whole is a
// partial entry. Fetched songs wait in a temporary folder until they are copied out.
class EngineMediaCache : public platform::MediaCache {
public:
    explicit EngineMediaCache(WebModule& web);
    ~EngineMediaCache() override;

    platform::MediaListing list() override;
    platform::Status copy(const platform::CachedMedia& entry, const std::string& target) override;
    // Forgets the song until a page plays it again.
    platform::Status remove(const platform::CachedMedia& entry) override;

    // Bounds of one fetch.
    static constexpr int kFetchSeconds = 120;
    static constexpr qint64 kFetchBytes = 512LL * 1024 * 1024;

private:
    enum class Fetched { Song, Partial, NotMedia };
    Fetched fetch(
        const PlayedMedia& played, const PlayedMediaLog& log, const QString& file, QString& mediaType);

    WebModule& m_web;
    QNetworkAccessManager m_network;
    std::unique_ptr<QTemporaryDir> m_folder;
    // By address: the fetched file, and the request serial of the song that was listed.
    std::map<std::string, QString> m_files;
    std::map<std::string, uint64_t> m_listed;
    // By address: the serial up to which the song has been harvested.
    std::map<std::string, uint64_t> m_harvested;
};

// The song's own name in a media address: its last path segment without the extension, when
// that segment is a plausible media file name; empty otherwise.
std::string songTitle(const QUrl& url);

} // namespace gui
