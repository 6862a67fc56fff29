#include "gui/engine_media_cache.h"

#include <algorithm>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QTimer>

#include "gui/look.h"
#include "gui/web_media.h"
#include "gui/web_module.h"
#include "platform/textfile.h"

namespace gui {

namespace {

// A jar holding exactly the cookies the pages' profile holds.
class PageCookies : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    void set(const QList<QNetworkCookie>& cookies) { setAllCookies(cookies); }
};

std::string addressOf(const QUrl& url)
{
    return utf8(url.toString(QUrl::FullyEncoded));
}

} // namespace

std::string songTitle(const QUrl& url)
{
    const QString name = url.fileName(QUrl::FullyDecoded);
    const std::string text = utf8(name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || !platform::isMediaName(text) || name.size() > 200)
        return {};
    for (const QChar c : name)
        if (c.isNonCharacter() || c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter)
            return {};
    return utf8(name.left(dot));
}

EngineMediaCache::EngineMediaCache(WebModule& web, std::string store)
    : m_web(web)
    , m_store(std::move(store))
{
    m_network.setCookieJar(new PageCookies(&m_network));
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    load();
}

EngineMediaCache::~EngineMediaCache()
{
    gather();
    save();
}

PlayedMediaLog EngineMediaCache::gather()
{
    PlayedMediaLog log;
    // Without the module no page has played anything.
    if (auto played = reinterpret_cast<PlayedMediaFunction>(m_web.symbol(kPlayedMediaSymbol)))
        played(log);
    for (const PlayedMedia& played : log.media) {
        uint64_t& seen = m_seen[addressOf(played.url)];
        if (played.serial <= seen)
            continue;
        seen = played.serial;
        const auto waiting = std::find_if(
            m_waiting.begin(), m_waiting.end(), [&](const PlayedMedia& w) { return w.url == played.url; });
        if (waiting == m_waiting.end())
            m_waiting.push_back(played);
    }
    return log;
}

void EngineMediaCache::load()
{
    if (m_store.empty())
        return;
    const auto read = platform::readFile(m_store, kStoreBytes);
    // No store yet (nothing played), or one that cannot be read: the harvest starts empty.
    if (!read)
        return;
    const std::string& bytes = *read;
    // One song a line: its address, a tab, the page that played it.
    for (const QString& line :
        QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).split('\n')) {
        const QStringList parts = line.trimmed().split('\t');
        const QUrl url(parts.value(0), QUrl::StrictMode);
        if (!url.isValid()
            || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
            continue;
        m_waiting.push_back({ url, QUrl(parts.value(1), QUrl::StrictMode), 0 });
    }
}

void EngineMediaCache::save() const
{
    if (m_store.empty())
        return;
    std::string bytes;
    for (const PlayedMedia& w : m_waiting)
        bytes += addressOf(w.url) + "\t" + utf8(w.page.toString(QUrl::FullyEncoded)) + "\n";
    QDir().mkpath(QFileInfo(qs(m_store)).absolutePath());
    // The pages of media still loading are a cache: lost, those media are only not listed.
    std::ignore = platform::writeFileAtomic(m_store, bytes);
}

platform::MediaListing EngineMediaCache::list()
{
    platform::MediaListing listing;
    const PlayedMediaLog log = gather();
    m_files.clear();
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) {
        listing.status = platform::Status::failure("no temporary folder for the songs");
        return listing;
    }
    static_cast<PageCookies*>(m_network.cookieJar())->set(log.cookies);
    for (const PlayedMedia& played : m_waiting) {
        const std::string address = addressOf(played.url);
        const QString file = m_folder->filePath(QString::number(m_files.size()));
        QString mediaType;
        const Fetched got = fetch(played, log, file, mediaType);
        if (got == Fetched::Partial)
            ++listing.partial;
        if (got != Fetched::Song)
            continue;
        platform::CachedMedia entry;
        entry.group = static_cast<int>(listing.entries.size()) + 1;
        entry.source = address;
        const std::string path = utf8(played.url.path(QUrl::FullyDecoded));
        entry.extension = platform::isMediaName(path) ? platform::mediaExtension(path)
                                                      : platform::extensionForMediaType(utf8(mediaType));
        entry.title = songTitle(played.url);
        entry.size = QFileInfo(file).size();
        m_files[address] = file;
        listing.entries.push_back(std::move(entry));
    }
    save();
    return listing;
}

EngineMediaCache::Fetched EngineMediaCache::fetch(
    const PlayedMedia& played, const PlayedMediaLog& log, const QString& file, QString& mediaType)
{
    const std::string path = utf8(played.url.path(QUrl::FullyDecoded));
    const bool namedAsSong = platform::isMediaName(path);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return Fetched::Partial;
    QNetworkRequest request(played.url);
    if (!log.userAgent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, log.userAgent);
    if (played.page.isValid())
        request.setRawHeader("Referer", played.page.toString(QUrl::FullyEncoded).toUtf8());
    // The song as it is stored, so its length is the announced one.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(kFetchSeconds * 1000);
    QNetworkReply* reply = m_network.get(request);
    QEventLoop loop;
    bool notMedia = false;
    bool failed = false;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        mediaType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
        // An address without a song's name is fetched only when the answer is a song.
        if (!namedAsSong && platform::extensionForMediaType(utf8(mediaType)).empty()) {
            notMedia = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        const QByteArray bytes = reply->readAll();
        if (out.size() + bytes.size() > kFetchBytes || out.write(bytes) != bytes.size()) {
            failed = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kFetchSeconds * 1000, reply, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const QByteArray rest = reply->readAll();
    failed = failed || out.write(rest) != rest.size();
    out.close();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool whole = reply->error() == QNetworkReply::NoError && status == 200 && !failed
        && (!announced.isValid() || announced.toLongLong() == out.size());
    reply->deleteLater();
    if (notMedia)
        return Fetched::NotMedia;
    if (!whole)
        return Fetched::Partial;
    return namedAsSong || !platform::extensionForMediaType(utf8(mediaType)).empty() ? Fetched::Song
                                                                                    : Fetched::NotMedia;
}

platform::MediaStep EngineMediaCache::copy(const platform::CachedMedia& entry, const std::string& target)
{
    const auto it = m_files.find(entry.source);
    if (it == m_files.end() || !platform::copyFile(utf8(it->second), target))
        return platform::MediaStep::Failed;
    return platform::MediaStep::Done;
}

platform::MediaStep EngineMediaCache::remove(const platform::CachedMedia& entry)
{
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                        [&](const PlayedMedia& w) { return addressOf(w.url) == entry.source; }),
        m_waiting.end());
    const auto it = m_files.find(entry.source);
    if (it != m_files.end()) {
        QFile::remove(it->second);
        m_files.erase(it);
    }
    save();
    return platform::MediaStep::Done;
}

} // namespace gui
