#include "gui/engine_media_cache.h"

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

EngineMediaCache::EngineMediaCache(WebModule& web)
    : m_web(web)
{
    m_network.setCookieJar(new PageCookies(&m_network));
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

EngineMediaCache::~EngineMediaCache() = default;

platform::MediaListing EngineMediaCache::list()
{
    platform::MediaListing listing;
    PlayedMediaLog log;
    // Without the module no page has played anything.
    if (auto played = reinterpret_cast<PlayedMediaFunction>(m_web.symbol(kPlayedMediaSymbol)))
        played(log);
    m_files.clear();
    m_listed.clear();
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) {
        listing.status = platform::Status::failure("no temporary folder for the songs");
        return listing;
    }
    static_cast<PageCookies*>(m_network.cookieJar())->set(log.cookies);
    for (const PlayedMedia& played : log.media) {
        const std::string address = utf8(played.url.toString(QUrl::FullyEncoded));
        if (m_harvested[address] >= played.serial)
            continue;
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
        m_listed[address] = played.serial;
        listing.entries.push_back(std::move(entry));
    }
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

platform::Status EngineMediaCache::copy(const platform::CachedMedia& entry, const std::string& target)
{
    const auto it = m_files.find(entry.source);
    if (it == m_files.end())
        return platform::Status::failure("not fetched: " + entry.source);
    return platform::copyFile(utf8(it->second), target);
}

platform::Status EngineMediaCache::remove(const platform::CachedMedia& entry)
{
    m_harvested[entry.source] = m_listed[entry.source];
    const auto it = m_files.find(entry.source);
    if (it != m_files.end()) {
        QFile::remove(it->second);
        m_files.erase(it);
    }
    return platform::Status::success();
}

} // namespace gui
