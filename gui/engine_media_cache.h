#pragma once
// The songs the program's own web pages played, as a media cache for the song harvest.
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/media_cache.h"

namespace gui {

class WebModule;
struct PlayedMedia;
struct PlayedMediaLog;

// Qt WebEngine keeps the media it plays in its disk cache as byte ranges of its own format,
// not as song files; so this cache fetches each address the pages loaded as media again,
// with the pages' cookies, user agent and referrer. A fetch that does not arrive whole is a
// partial entry. Fetched songs wait in a temporary folder until they are copied out. The
// songs played and not yet harvested are kept in a file between runs, as a browser cache
// keeps them.
class EngineMediaCache : public platform::MediaCache {
public:
    // store: the file of the songs waiting for a harvest; empty keeps them for this run only.
    explicit EngineMediaCache(WebModule& web, std::string store = {});
    // Writes down what the pages played since the last harvest.
    ~EngineMediaCache() override;

    platform::MediaListing list() override;
    platform::MediaStep copy(const platform::CachedMedia& entry, const std::string& target) override;
    // Forgets the song until a page plays it again.
    platform::MediaStep remove(const platform::CachedMedia& entry) override;

    // Bounds of one fetch, and of the store file.
    static constexpr int kFetchSeconds = 120;
    static constexpr qint64 kFetchBytes = 512LL * 1024 * 1024;
    static constexpr size_t kStoreBytes = size_t { 4 } * 1024 * 1024;

private:
    enum class Fetched { Song, Partial, NotMedia };
    Fetched fetch(
        const PlayedMedia& played, const PlayedMediaLog& log, const QString& file, QString& mediaType);
    // Adds the songs the pages played since the last look to the waiting ones.
    PlayedMediaLog gather();
    void load();
    void save() const;

    WebModule& m_web;
    std::string m_store;
    QNetworkAccessManager m_network;
    std::unique_ptr<QTemporaryDir> m_folder;
    // Songs played and not yet harvested, in the order they were first played.
    std::vector<PlayedMedia> m_waiting;
    // By address: the newest request already looked at.
    std::map<std::string, uint64_t> m_seen;
    // By address: the fetched file of a listed song.
    std::map<std::string, QString> m_files;
};

// The song's own name in a media address: its last path segment without the extension, when
// that segment is a plausible media file name; empty otherwise.
std::string songTitle(const QUrl& url);

} // namespace gui
