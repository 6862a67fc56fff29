#include "platform/posix/curl_network.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/posix/curl_files.h"
#include "platform/posix/curl_resume.h"
#include "platform/posix/curl_transfer.h"
#include "runtime/ascii.h"
#include "runtime/clock.h"

namespace platform {

namespace {

// How often a waiting transfer looks at its caller (cancellation, heartbeat reports).
constexpr int kPollMs = 50;
// How much of a partial file's end a resume without a strong validator asks for again.
constexpr size_t kOverlapBytes = size_t { 64 } * 1024;

bool needsEscape(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '`' || c == '{' || c == '}'
        || c == '|' || c == '^';
}

// Where the body of a download goes, and what the transfer learned about it.
struct DownloadSink {
    curl::DownloadFile* file = nullptr;
    const curl::Transfer* transfer = nullptr;
    std::string address;
    curl::ResponseHeaders headers;
    // Bytes of an earlier attempt that this transfer continues.
    long long base = 0;
    long long received = 0;
    long long limit = 0; // 0: none
    bool rangeChecked = false;
    bool writeFailed = false;
    bool tooLarge = false;
    // The partial answer belongs to another version than the bytes already there.
    bool versionChanged = false;
    // Without a strong validator the answer starts this far before the end of the bytes already
    // there, and has to repeat them (the overlap) before it may continue them.
    std::string overlap;
    size_t matched = 0;
};

// Bytes of a partial answer that are still to be compared with the overlap: a difference means
// another version of the file, which is then fetched whole.
bool compareOverlap(DownloadSink& sink, const char*& data, size_t& bytes)
{
    const size_t n = std::min(bytes, sink.overlap.size() - sink.matched);
    if (sink.overlap.compare(sink.matched, n, data, n) != 0) {
        sink.versionChanged = true;
        return false;
    }
    sink.matched += n;
    sink.received += static_cast<long long>(n);
    data += n;
    bytes -= n;
    return true;
}

// At the first bytes of an answer: whether they continue the file or start it afresh.
bool placeAnswer(DownloadSink& sink)
{
    curl::DownloadFile& file = *sink.file;
    if (file.existing() > 0 && sink.transfer->status() == 206) {
        // Sound: a server that ignores If-Range still has to send the recorded version.
        const long long start = file.existing() - static_cast<long long>(sink.overlap.size());
        if (!curl::continuesRecord(file.record(), sink.headers, start)) {
            sink.versionChanged = true;
            return false;
        }
        sink.base = start;
        return true;
    }
    sink.overlap.clear();
    // Sound: any whole body (a 200 to a range request too) replaces the bytes already there.
    const long long length = sink.transfer->announcedLength();
    if (!file.beginVersion({ sink.address, sink.headers.etag, sink.headers.lastModified, length })) {
        sink.writeFailed = true;
        return false;
    }
    return true;
}

size_t writeToFile(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<DownloadSink*>(user);
    const size_t taken = size * count;
    size_t bytes = taken;
    const char* rest = data;
    if (!sink->rangeChecked) {
        sink->rangeChecked = true;
        if (!placeAnswer(*sink))
            return 0;
    }
    if (sink->matched < sink->overlap.size() && !compareOverlap(*sink, rest, bytes))
        return 0;
    if (sink->limit > 0 && sink->base + sink->received + static_cast<long long>(bytes) > sink->limit) {
        sink->tooLarge = true;
        return 0;
    }
    if (!sink->file->write(rest, bytes)) {
        sink->writeFailed = true;
        return 0;
    }
    sink->received += static_cast<long long>(bytes);
    return taken;
}

struct PageSink {
    const curl::Transfer* transfer = nullptr;
    std::string body;
    long long limit = 0;
    bool tooLarge = false;
};

size_t appendToPage(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<PageSink*>(user);
    const size_t bytes = size * count;
    if (static_cast<long long>(sink->body.size()) + static_cast<long long>(bytes) > sink->limit) {
        sink->tooLarge = true;
        return 0;
    }
    // Room for the announced length at once, instead of growing the body step by step.
    if (sink->body.empty())
        sink->body.reserve(static_cast<size_t>(std::min(sink->transfer->announcedLength(), sink->limit)));
    sink->body.append(data, bytes);
    return bytes;
}

// One download to a file: the transfer that fills it (and fills it afresh when the server
// cannot continue it) and what the caller hears on the way. Received bytes and the length
// count the whole file, also when a transfer continues one.
class FileDownload {
public:
    FileDownload(const CurlOptions& net, std::string address, curl::DownloadFile& target,
        const DownloadOptions& options, const std::function<bool(const TransferProgress&)>& progress)
        : m_net(net)
        , m_options(options)
        , m_progress(progress)
        , m_target(target)
        , m_headers(nullptr, curl_slist_free_all)
    {
        m_sink.file = &target;
        m_sink.address = std::move(address);
        m_sink.limit = options.maxBytes;
    }

    // A transfer for the address that continues the bytes the file already holds.
    bool prepare()
    {
        m_transfer = std::make_unique<curl::Transfer>(m_net, m_sink.address);
        CURL* handle = m_transfer->handle();
        m_sink.transfer = m_transfer.get();
        m_sink.base = 0;
        m_sink.received = 0;
        m_sink.rangeChecked = false;
        m_sink.versionChanged = false;
        m_sink.matched = 0;
        m_sink.overlap.clear();
        if (m_options.maxSeconds > 0)
            curl_easy_setopt(handle, CURLOPT_TIMEOUT, m_options.maxSeconds);
        if (m_options.maxBytes > 0)
            curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_options.maxBytes));
        m_headers.reset();
        for (const std::string& header : m_options.headers)
            addHeader(header);
        if (m_target.existing() > 0 && !continueFile(handle))
            return false;
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, m_headers.get());
        curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, curl::captureHeader);
        curl_easy_setopt(handle, CURLOPT_HEADERDATA, &m_sink.headers);
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, writeToFile);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &m_sink);
        // An error page is not the file that was asked for.
        curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
        return m_transfer->ready();
    }

    // Runs the transfer; a server that cannot continue the file (a range beyond the file there
    // now, or another version of it) has the partial file dropped and the file fetched whole.
    CURLcode run()
    {
        const bool keepGoing
            = report(TransferProgress::Start, TransferProgress::Connecting, m_sink.address, false);
        const auto poll = [this] { return pollTransfer(); };
        m_lastReport = runtime::steadyNowMs();
        CURLcode result = keepGoing ? m_transfer->run(poll, kPollMs) : CURLE_ABORTED_BY_CALLBACK;
        // An answer that ended inside the overlap is of a shorter file: another version.
        m_sink.versionChanged
            = m_sink.versionChanged || (result == CURLE_OK && m_sink.matched < m_sink.overlap.size());
        const bool rangeRefused
            = m_sink.versionChanged || (result != CURLE_OK && m_transfer->status() == 416);
        if (rangeRefused && m_target.existing() > 0) {
            if (!m_target.restart() || !prepare())
                result = CURLE_WRITE_ERROR;
            else
                result = m_transfer->run(poll, kPollMs);
        }
        return result;
    }

    // The outcome of the transfer: the file committed, or why not; the caller hears it last.
    Status finish(CURLcode result, const std::string& file)
    {
        if (result == CURLE_OK
            && !report(
                TransferProgress::Progress, TransferProgress::EndData, m_transfer->effectiveAddress(), false))
            result = CURLE_ABORTED_BY_CALLBACK;
        Status status = Status::success();
        if (result == CURLE_ABORTED_BY_CALLBACK)
            status = Status::failure("the transfer was aborted");
        else if (m_sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
            status
                = Status::failure("the file is larger than " + std::to_string(m_options.maxBytes) + " bytes");
        else if (m_sink.writeFailed || (result == CURLE_OK && !m_target.commit(file)))
            status = Status::failure(m_target.error());
        else if (result != CURLE_OK)
            status = Status::failure(m_transfer->errorText(result));
        // Bytes over a limit or that could not be written are no start for another attempt.
        if (m_sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED || m_sink.writeFailed)
            m_target.discard();

        TransferProgress stop;
        stop.phase = TransferProgress::Stop;
        stop.received = m_sink.base + m_sink.received;
        stop.total = m_transfer->announcedLength();
        stop.statusCode = m_transfer->status();
        stop.statusText = status.error;
        if (m_progress)
            m_progress(stop); // its answer is not asked for: the transfer has already ended
        return status;
    }

private:
    void addHeader(const std::string& header)
    {
        m_headers.reset(curl_slist_append(m_headers.release(), header.c_str()));
    }

    // For a continued file: the range from the end of the bytes there, and If-Range, so the
    // server sends the rest only if the file is still the recorded version and else sends it
    // whole, which replaces the bytes.
    bool continueFile(CURL* handle)
    {
        // Sound: without a strong validator a changed file could answer the range as well;
        // only bytes that repeat the end of the partial file prove that they continue it.
        if (!curl::strongValidator(m_target.record())) {
            auto overlap = m_target.tail(kOverlapBytes);
            if (!overlap)
                return false;
            m_sink.overlap = std::move(*overlap);
        }
        const long long start = m_target.existing() - static_cast<long long>(m_sink.overlap.size());
        curl_easy_setopt(handle, CURLOPT_RANGE, (std::to_string(start) + "-").c_str());
        const std::string validator = curl::ifRangeValue(m_target.record());
        if (!validator.empty())
            addHeader("If-Range: " + validator);
        return true;
    }

    bool report(TransferProgress::Phase phase, int code, const std::string& text, bool heartbeat)
    {
        TransferProgress p;
        p.phase = phase;
        p.received = m_sink.base + m_sink.received;
        const long long announced = m_transfer->announcedLength();
        p.total = announced > 0 ? m_sink.base + announced : 0;
        p.statusCode = code;
        p.statusText = text;
        p.heartbeat = heartbeat;
        return !m_progress || m_progress(p);
    }

    // Looked at while the transfer waits: redirects and data are reported, and between data
    // the caller still hears from the transfer now and then, marked as a heartbeat, so its
    // pump runs and an abort takes effect.
    bool pollTransfer()
    {
        const int64_t now = runtime::steadyNowMs();
        if (m_transfer->redirects() != m_redirects) {
            m_redirects = m_transfer->redirects();
            m_lastReport = now;
            if (!report(TransferProgress::Progress, TransferProgress::Redirecting,
                    m_transfer->effectiveAddress(), false))
                return false;
        }
        const bool fresh = m_sink.received != m_reported;
        if (!fresh && now - m_lastReport < m_net.heartbeatMs)
            return true;
        const int code = m_sink.received == 0 ? TransferProgress::Connecting
            : m_reported == 0                 ? TransferProgress::BeginData
                                              : TransferProgress::Data;
        m_reported = m_sink.received;
        m_lastReport = now;
        return report(TransferProgress::Progress, code, m_transfer->effectiveAddress(), !fresh);
    }

    const CurlOptions& m_net;
    const DownloadOptions& m_options;
    const std::function<bool(const TransferProgress&)>& m_progress;
    curl::DownloadFile& m_target;
    DownloadSink m_sink;
    std::unique_ptr<curl::Transfer> m_transfer;
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> m_headers;
    long long m_reported = 0;
    long m_redirects = 0;
    int64_t m_lastReport = 0;
};

} // namespace

std::string normalizeWebAddress(const std::string& url)
{
    const auto first = url.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = url.find_last_not_of(" \t\r\n");
    const std::string trimmed = url.substr(first, last - first + 1);
    const size_t schemeEnd = runtime::startsWithNoCase(trimmed, "http://") ? 7
        : runtime::startsWithNoCase(trimmed, "https://")                   ? 8
                                                                           : 0;
    if (schemeEnd == 0)
        return {};
    const size_t authorityEnd = trimmed.find_first_of("/?#", schemeEnd);
    const std::string authority = trimmed.substr(
        schemeEnd, authorityEnd == std::string::npos ? std::string::npos : authorityEnd - schemeEnd);
    const size_t at = authority.rfind('@');
    if (authority.empty() || at + 1 == authority.size())
        return {};
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(trimmed.size() + 16);
    for (char ch : trimmed) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '#')
            break; // the fragment never goes on the wire
        if (needsEscape(c)) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    // Let the URL parser decide about the rest (ports, brackets, host syntax).
    CURLU* parsed = curl_url();
    const bool valid = parsed && curl_url_set(parsed, CURLUPART_URL, out.c_str(), 0) == CURLUE_OK;
    curl_url_cleanup(parsed);
    return valid ? out : std::string();
}

CurlNetwork::CurlNetwork(CurlOptions options)
    : m_options(std::move(options))
{
    curl::initialiseOnce();
}

bool CurlNetwork::checkConnection(const std::string& probeAddress)
{
    const std::string address = normalizeWebAddress(probeAddress);
    if (address.empty())
        return false;
    curl::Transfer transfer(m_options, address);
    // Connecting is the whole check (a TLS handshake included for https); nothing is sent.
    curl_easy_setopt(transfer.handle(), CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(transfer.handle(), CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(transfer.handle(), CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(transfer.handle(), CURLOPT_CONNECTTIMEOUT_MS,
        std::min(m_options.connectTimeoutMs, m_options.probeTimeoutMs));
    curl_easy_setopt(transfer.handle(), CURLOPT_TIMEOUT_MS, m_options.probeTimeoutMs);
    return transfer.ready() && transfer.run({}, kPollMs) == CURLE_OK;
}

Status CurlNetwork::download(const std::string& url, const std::string& file,
    const std::function<bool(const TransferProgress&)>& progress, const DownloadOptions& options)
{
    const std::string address = normalizeWebAddress(url);
    if (address.empty())
        return Status::failure("not an http or https address: " + url);
    curl::DownloadFile target(file, options.resumable, address);
    if (!target.ok())
        return Status::failure(target.error());
    FileDownload download(m_options, address, target, options, progress);
    if (!download.prepare())
        return Status::failure("cannot start a transfer for " + url);
    return download.finish(download.run(), file);
}

std::vector<long long> CurlNetwork::contentLengths(
    const std::vector<std::string>& urls, const std::function<bool()>& keepGoing)
{
    std::vector<std::unique_ptr<curl::Transfer>> transfers;
    std::vector<curl::Transfer*> running;
    for (const std::string& url : urls) {
        const std::string address = normalizeWebAddress(url);
        transfers.push_back(std::make_unique<curl::Transfer>(m_options, address.empty() ? url : address));
        CURL* handle = transfers.back()->handle();
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
        // Sound: a slow host costs at most this long, and every length is asked at once.
        curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, m_options.lengthTimeoutMs);
        if (!address.empty())
            running.push_back(transfers.back().get());
    }
    const int64_t deadline = runtime::steadyNowMs() + m_options.lengthTimeoutMs;
    // Queued requests wait for a free connection; the whole asking ends in time all the same.
    const std::vector<CURLcode> results = curl::runTogether(
        running, [&] { return (!keepGoing || keepGoing()) && runtime::steadyNowMs() < deadline; }, kPollMs,
        m_options.lengthConnections);
    std::vector<long long> lengths;
    size_t next = 0;
    for (const auto& transfer : transfers) {
        const bool asked = next < running.size() && running[next] == transfer.get();
        const bool known = asked && results[next++] == CURLE_OK && transfer->announcedLength() > 0;
        lengths.push_back(known ? transfer->announcedLength() : -1);
    }
    return lengths;
}

HttpResponse CurlNetwork::get(const std::string& url)
{
    return fetch(url, {});
}

HttpResponse CurlNetwork::fetch(const std::string& url, const std::function<bool()>& keepGoing)
{
    HttpResponse response;
    const std::string address = normalizeWebAddress(url);
    if (address.empty())
        return response;
    curl::Transfer transfer(m_options, address);
    PageSink sink;
    sink.transfer = &transfer;
    sink.limit = m_options.maxPageBytes;
    curl_easy_setopt(transfer.handle(), CURLOPT_WRITEFUNCTION, appendToPage);
    curl_easy_setopt(transfer.handle(), CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(
        transfer.handle(), CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_options.maxPageBytes));
    // Sound: a server that trickles a byte now and then never trips the stall limit; a page
    // (and the browser's load and the search step waiting on it) still ends in time.
    curl_easy_setopt(transfer.handle(), CURLOPT_TIMEOUT_MS, m_options.pageTimeoutMs);
    if (m_options.compressedPages)
        curl_easy_setopt(transfer.handle(), CURLOPT_ACCEPT_ENCODING, "");
    const CURLcode result = transfer.run(keepGoing, kPollMs);
    response.status = transfer.status();
    response.url = transfer.effectiveAddress();
    char* type = nullptr;
    if (curl_easy_getinfo(transfer.handle(), CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        response.contentType = type;
    response.completed = result == CURLE_OK && response.status != 0;
    if (response.completed)
        response.body = std::move(sink.body);
    return response;
}

} // namespace platform
