// Pieces of downloads side by side on one libcurl multi handle, moved on by the caller.
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

#include "platform/pieces.h"
#include "platform/posix/curl_network.h"
#include "platform/posix/curl_resume.h"
#include "platform/posix/curl_transfer.h"
#include "runtime/ascii.h"

namespace platform {

namespace {

constexpr long kPieceBufferBytes = 1024L * 1024;
// Under a speed limit a read takes at most this part of a second's bytes, so the last read of
// a file cannot bring much more than the limit allows (libcurl reads no less than 1 KiB).
constexpr long long kReadsPerSecond = 16;
constexpr long kMinBufferBytes = 1024;
// Bytes not taken while every piece waited are kept for at most this part of a second.
constexpr long long kSavedPerSecond = 4;

// The speed limit of all pieces together: bytes may be taken while the balance is above
// zero, and every read is paid for whole, so one that overdraws it is made up by the wait.
class SpeedBucket {
public:
    using Clock = std::chrono::steady_clock;
    void setLimit(long long bytesPerSecond)
    {
        if (bytesPerSecond != m_limit)
            m_balance = 0;
        m_limit = std::max(bytesPerSecond, 0LL);
    }
    [[nodiscard]] bool limited() const { return m_limit > 0; }
    [[nodiscard]] long readBytes() const
    {
        return limited() ? static_cast<long>(
                   std::clamp<long long>(m_limit / kReadsPerSecond, kMinBufferBytes, kPieceBufferBytes))
                         : kPieceBufferBytes;
    }
    void refill()
    {
        const Clock::time_point now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - m_at).count();
        m_at = now;
        if (limited())
            m_balance = std::min(m_balance + seconds * static_cast<double>(m_limit),
                static_cast<double>(std::max<long long>(m_limit / kSavedPerSecond, readBytes())));
    }
    [[nodiscard]] bool open() const { return !limited() || m_balance > 0; }
    // Whether bytes may be taken now; they are paid for when they may.
    bool take(size_t bytes)
    {
        if (!open())
            return false;
        m_balance -= static_cast<double>(limited() ? bytes : 0);
        return true;
    }
    // Milliseconds until bytes may be taken again.
    [[nodiscard]] int msUntilOpen() const
    {
        return open() ? 0 : static_cast<int>(std::ceil(-m_balance * 1000 / static_cast<double>(m_limit))) + 1;
    }

private:
    long long m_limit = 0;
    double m_balance = 0;
    Clock::time_point m_at = Clock::now();
};

struct Piece {
    PieceRequest request;
    std::unique_ptr<curl::Transfer> transfer;
    curl_slist* headers = nullptr;
    int fd = -1;
    long long written = 0;
    // Bytes of the request's overlap that came and matched.
    size_t overlapSeen = 0;
    bool checked = false;
    bool rangeRefused = false;
    bool writeFailed = false;
    bool overrun = false;
    std::string retryAfter;
    curl::ResponseHeaders answer;
    SpeedBucket* bucket = nullptr;
    // Its last read waits in libcurl for the limit.
    bool paused = false;

    ~Piece()
    {
        curl_slist_free_all(headers);
        if (fd >= 0)
            ::close(fd);
    }
    [[nodiscard]] long long rangeLength() const
    {
        return request.rangeLast >= 0 ? request.rangeLast - std::max(request.rangeFirst, 0LL) + 1 : -1;
    }
    [[nodiscard]] std::string version() const
    {
        // A weak ETag does not name one version of the bytes.
        if (!answer.etag.empty() && answer.etag.rfind("W/", 0) != 0)
            return answer.etag;
        return answer.lastModified;
    }
};

size_t pieceHeader(char* data, size_t size, size_t count, void* user)
{
    auto* piece = static_cast<Piece*>(user);
    const std::string line(data, size * count);
    if (line.starts_with("HTTP/"))
        piece->retryAfter.clear();
    else if (line.size() > 12 && strncasecmp(line.c_str(), "Retry-After:", 12) == 0)
        piece->retryAfter = runtime::trimmed(line.substr(12));
    return curl::captureHeader(data, size, count, &piece->answer);
}

// Whether the first bytes of the answer are the bytes that were asked for.
bool answerFits(const Piece& piece)
{
    const PieceRequest& r = piece.request;
    const bool ranged = r.rangeFirst > 0 || r.rangeLast >= 0;
    if (ranged && (piece.transfer->status() != 206 || piece.answer.rangeStart != std::max(r.rangeFirst, 0LL)))
        return false;
    return r.ifRange.empty() || piece.version() == r.ifRange;
}

size_t pieceWrite(char* data, size_t size, size_t count, void* user)
{
    auto* piece = static_cast<Piece*>(user);
    const size_t bytes = size * count;
    if (!piece->bucket->take(bytes)) {
        piece->paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (!piece->checked) {
        piece->checked = true;
        // Sound: the whole body, or another version, never lands in the middle of a file.
        if (!answerFits(*piece)) {
            piece->rangeRefused = true;
            return 0;
        }
    }
    const long long length = piece->rangeLength();
    const auto seen = static_cast<long long>(piece->overlapSeen);
    if (length >= 0 && seen + piece->written + static_cast<long long>(bytes) > length) {
        piece->overrun = true;
        return 0;
    }
    // The overlap asked for again is compared, not written.
    const std::string& overlap = piece->request.overlap;
    const size_t repeated = std::min(bytes, overlap.size() - piece->overlapSeen);
    if (repeated > 0 && std::memcmp(data, overlap.data() + piece->overlapSeen, repeated) != 0) {
        piece->rangeRefused = true;
        return 0;
    }
    piece->overlapSeen += repeated;
    const off_t at = static_cast<off_t>(piece->request.offset + piece->written);
    for (size_t done = repeated; done < bytes;) {
        const ssize_t n
            = ::pwrite(piece->fd, data + done, bytes - done, at + static_cast<off_t>(done - repeated));
        if (n <= 0) {
            piece->writeFailed = true;
            return 0;
        }
        done += static_cast<size_t>(n);
    }
    piece->written += static_cast<long long>(bytes - repeated);
    return bytes;
}

bool isBreak(CURLcode code)
{
    return code == CURLE_RECV_ERROR || code == CURLE_SEND_ERROR || code == CURLE_GOT_NOTHING
        || code == CURLE_PARTIAL_FILE || code == CURLE_OPERATION_TIMEDOUT;
}

PieceOutcome outcomeOf(int id, const Piece& piece, CURLcode code)
{
    PieceOutcome out;
    out.id = id;
    out.status = piece.transfer->status();
    out.written = piece.written;
    out.rangeRefused = piece.rangeRefused;
    out.version = piece.version();
    out.wholeLength = piece.answer.rangeTotal > 0 ? piece.answer.rangeTotal
        : out.status == 200                       ? piece.transfer->announcedLength()
                                                  : 0;
    out.retryAfterSeconds = parseRetryAfter(piece.retryAfter, static_cast<long long>(std::time(nullptr)));
    const long long length = piece.rangeLength();
    const bool whole = length < 0 || piece.written + static_cast<long long>(piece.overlapSeen) == length;
    out.ok = code == CURLE_OK && out.status >= 200 && out.status < 300 && !piece.rangeRefused && whole;
    if (out.ok)
        return out;
    const bool slowDown = out.status == 412 || out.status == 429 || out.status == 503;
    // A body cut short at the end of a range counts as a broken connection.
    out.throttled = slowDown || isBreak(code) || (code == CURLE_OK && !whole);
    if (piece.rangeRefused)
        out.error = "the server sent another part of the file than the one asked for";
    else if (piece.writeFailed)
        out.error = "the file cannot be written: " + piece.request.file;
    else if (piece.overrun)
        out.error = "the server sent more than the range asked for";
    else if (out.status >= 400)
        out.error = "HTTP " + std::to_string(out.status);
    else
        out.error = code == CURLE_OK ? "the answer ended early" : piece.transfer->errorText(code);
    return out;
}

class CurlPieceFetcher : public PieceFetcher {
public:
    explicit CurlPieceFetcher(const CurlOptions& options)
        : m_options(options)
        , m_multi(curl_multi_init())
    {
    }
    ~CurlPieceFetcher() override
    {
        for (auto& [id, piece] : m_pieces)
            curl_multi_remove_handle(m_multi, piece->transfer->handle());
        m_pieces.clear();
        if (m_multi)
            curl_multi_cleanup(m_multi);
    }

    int start(const PieceRequest& request, PieceOutcome* refused) override
    {
        auto piece = std::make_unique<Piece>();
        piece->request = request;
        piece->bucket = &m_bucket;
        const std::string address = normalizeWebAddress(request.url);
        piece->fd = ::open(request.file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        std::string why = address.empty() ? "not an http or https address: " + request.url
            : piece->fd < 0               ? "the file cannot be written: " + request.file
                                          : std::string();
        if (why.empty()) {
            piece->transfer = std::make_unique<curl::Transfer>(m_options, address);
            if (!m_multi || !piece->transfer->ready() || !configure(*piece)
                || curl_multi_add_handle(m_multi, piece->transfer->handle()) != CURLM_OK)
                why = "cannot start a transfer for " + request.url;
        }
        if (!why.empty()) {
            if (refused) {
                *refused = PieceOutcome {};
                refused->error = why;
            }
            return 0;
        }
        const int id = ++m_lastId;
        m_pieces[id] = std::move(piece);
        return id;
    }

    void cancel(int id) override
    {
        auto it = m_pieces.find(id);
        if (it == m_pieces.end())
            return;
        curl_multi_remove_handle(m_multi, it->second->transfer->handle());
        m_pieces.erase(it);
    }

    [[nodiscard]] long long written(int id) const override
    {
        auto it = m_pieces.find(id);
        return it == m_pieces.end() ? 0 : it->second->written;
    }

    [[nodiscard]] long long announced(int id) const override
    {
        auto it = m_pieces.find(id);
        if (it == m_pieces.end() || it->second->transfer->status() != 200)
            return 0;
        return std::max(it->second->transfer->announcedLength(), 0LL);
    }

    std::vector<PieceOutcome> poll(int waitMs) override
    {
        std::vector<PieceOutcome> ended;
        if (m_pieces.empty())
            return ended;
        int running = 0;
        release();
        curl_multi_perform(m_multi, &running);
        collect(ended);
        if (ended.empty() && waitMs > 0) {
            const bool waiting = std::any_of(
                m_pieces.begin(), m_pieces.end(), [](const auto& p) { return p.second->paused; });
            curl_multi_poll(
                m_multi, nullptr, 0, waiting ? std::min(waitMs, m_bucket.msUntilOpen()) : waitMs, nullptr);
            release();
            curl_multi_perform(m_multi, &running);
            collect(ended);
        }
        return ended;
    }

    [[nodiscard]] int running() const override { return static_cast<int>(m_pieces.size()); }

    void setSpeedLimit(long long bytesPerSecond) override { m_bucket.setLimit(bytesPerSecond); }

private:
    bool configure(Piece& piece)
    {
        CURL* handle = piece.transfer->handle();
        const PieceRequest& r = piece.request;
        if (r.rangeFirst > 0 || r.rangeLast >= 0) {
            const std::string range = std::to_string(std::max(r.rangeFirst, 0LL)) + "-"
                + (r.rangeLast >= 0 ? std::to_string(r.rangeLast) : std::string());
            curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());
        }
        for (const std::string& header : r.headers)
            piece.headers = curl_slist_append(piece.headers, header.c_str());
        if (!r.ifRange.empty())
            piece.headers = curl_slist_append(piece.headers, ("If-Range: " + r.ifRange).c_str());
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, piece.headers);
        curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, pieceHeader);
        curl_easy_setopt(handle, CURLOPT_HEADERDATA, &piece);
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, pieceWrite);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &piece);
        curl_easy_setopt(handle, CURLOPT_PRIVATE, &piece);
        // The caller moves the pieces on between its other work: each round takes what a
        // connection holds, not one small read (reads stay small under a speed limit).
        curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, m_bucket.readBytes());
        // An error page is not a piece of the file; its status still says why.
        curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
        return true;
    }

    // Pieces held back by the limit go on while it allows (each may be held back again by
    // the bytes it was holding, handed over as it goes on). They take turns, from the one
    // after the last let go, so none waits behind the others for ever.
    void release()
    {
        m_bucket.refill();
        auto it = m_pieces.upper_bound(m_lastReleased);
        for (size_t n = 0; n < m_pieces.size() && m_bucket.open(); ++n, ++it) {
            if (it == m_pieces.end())
                it = m_pieces.begin();
            if (!it->second->paused)
                continue;
            it->second->paused = false;
            m_lastReleased = it->first;
            curl_easy_pause(it->second->transfer->handle(), CURLPAUSE_CONT);
        }
    }

    void collect(std::vector<PieceOutcome>& ended)
    {
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(m_multi, &queued)) {
            if (msg->msg != CURLMSG_DONE)
                continue;
            for (auto it = m_pieces.begin(); it != m_pieces.end(); ++it) {
                if (it->second->transfer->handle() != msg->easy_handle)
                    continue;
                ended.push_back(outcomeOf(it->first, *it->second, msg->data.result));
                curl_multi_remove_handle(m_multi, msg->easy_handle);
                m_pieces.erase(it);
                break;
            }
        }
    }

    CurlOptions m_options;
    CURLM* m_multi = nullptr;
    std::map<int, std::unique_ptr<Piece>> m_pieces;
    int m_lastId = 0;
    SpeedBucket m_bucket;
    int m_lastReleased = 0;
};

} // namespace

long parseRetryAfter(const std::string& value, long long nowEpoch)
{
    constexpr long kDay = 24L * 3600;
    const std::string text = runtime::trimmed(value);
    if (text.empty())
        return -1;
    if (text.find_first_not_of("0123456789") == std::string::npos)
        return text.size() > 6 ? kDay : std::min(std::stol(text), kDay);
    const time_t when = curl_getdate(text.c_str(), nullptr);
    if (when < 0)
        return -1;
    return static_cast<long>(std::clamp<long long>(static_cast<long long>(when) - nowEpoch, 0, kDay));
}

std::unique_ptr<PieceFetcher> CurlNetwork::pieceFetcher()
{
    return std::make_unique<CurlPieceFetcher>(m_options);
}

} // namespace platform
