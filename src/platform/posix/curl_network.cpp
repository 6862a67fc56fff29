#include "platform/posix/curl_network.h"

#include <algorithm>
#include <cstring>
#include <memory>

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
constexpr size_t kOverlapBytes = 64 * 1024;

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
    if (static_cast<long long>(sink->body.size() + bytes) > sink->limit) {
        sink->tooLarge = true;
        return 0;
    }
    // Room for the announced length at once, instead of growing the body step by step.
    if (sink->body.empty())
        sink->body.reserve(static_cast<size_t>(std::min(sink->transfer->announcedLength(), sink->limit)));
    sink->body.append(data, bytes);
    return bytes;
}

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

    DownloadSink sink;
    sink.file = &target;
    sink.address = address;
    sink.limit = options.maxBytes;
    std::unique_ptr<curl::Transfer> transfer;
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr, curl_slist_free_all);
    // A transfer for the address that continues the bytes the file already holds.
    auto prepare = [&] {
        transfer = std::make_unique<curl::Transfer>(m_options, address);
        CURL* handle = transfer->handle();
        sink.transfer = transfer.get();
        sink.base = 0;
        sink.received = 0;
        sink.rangeChecked = false;
        sink.versionChanged = false;
        sink.matched = 0;
        sink.overlap.clear();
        if (options.maxSeconds > 0)
            curl_easy_setopt(handle, CURLOPT_TIMEOUT, options.maxSeconds);
        if (options.maxBytes > 0)
            curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
        // The site's headers, and for a continued file If-Range: the rest only if the file is
        // still the recorded version; else the server sends it whole, which replaces the bytes.
        headers.reset();
        for (const std::string& header : options.headers)
            headers.reset(curl_slist_append(headers.release(), header.c_str()));
        if (target.existing() > 0) {
            // Sound: without a strong validator a changed file could answer the range as well;
            // only bytes that repeat the end of the partial file prove that they continue it.
            if (!curl::strongValidator(target.record())) {
                auto overlap = target.tail(kOverlapBytes);
                if (!overlap)
                    return false;
                sink.overlap = std::move(*overlap);
            }
            const long long start = target.existing() - static_cast<long long>(sink.overlap.size());
            curl_easy_setopt(handle, CURLOPT_RANGE, (std::to_string(start) + "-").c_str());
            const std::string validator = curl::ifRangeValue(target.record());
            if (!validator.empty())
                headers.reset(curl_slist_append(headers.release(), ("If-Range: " + validator).c_str()));
        }
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, curl::captureHeader);
        curl_easy_setopt(handle, CURLOPT_HEADERDATA, &sink.headers);
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, writeToFile);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
        // An error page is not the file that was asked for.
        curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
        return transfer->ready();
    };
    if (!prepare())
        return Status::failure("cannot start a transfer for " + url);

    // Received bytes and the length count the whole file, also when a transfer continues one.
    auto report = [&](TransferProgress::Phase phase, int code, const std::string& text, bool heartbeat) {
        TransferProgress p;
        p.phase = phase;
        p.received = sink.base + sink.received;
        const long long announced = transfer->announcedLength();
        p.total = announced > 0 ? sink.base + announced : 0;
        p.statusCode = code;
        p.statusText = text;
        p.heartbeat = heartbeat;
        return !progress || progress(p);
    };

    bool keepGoing = report(TransferProgress::Start, TransferProgress::Connecting, address, false);
    long long reported = 0;
    long redirects = 0;
    int64_t lastReport = runtime::steadyNowMs();
    auto poll = [&] {
        const int64_t now = runtime::steadyNowMs();
        if (transfer->redirects() != redirects) {
            redirects = transfer->redirects();
            lastReport = now;
            if (!report(TransferProgress::Progress, TransferProgress::Redirecting,
                    transfer->effectiveAddress(), false))
                return false;
        }
        // Between data the caller still hears from the transfer now and then, marked as a
        // heartbeat, so its pump runs and an abort takes effect.
        const bool fresh = sink.received != reported;
        if (fresh || now - lastReport >= m_options.heartbeatMs) {
            const int code = sink.received == 0 ? TransferProgress::Connecting
                : reported == 0                 ? TransferProgress::BeginData
                                                : TransferProgress::Data;
            reported = sink.received;
            lastReport = now;
            return report(TransferProgress::Progress, code, transfer->effectiveAddress(), !fresh);
        }
        return true;
    };

    CURLcode result = keepGoing ? transfer->run(poll, kPollMs) : CURLE_ABORTED_BY_CALLBACK;
    // An answer that ended inside the overlap is of a shorter file: another version.
    sink.versionChanged = sink.versionChanged || (result == CURLE_OK && sink.matched < sink.overlap.size());
    // A server that cannot continue (a range beyond the file there now, or another version of
    // it): the partial file is dropped and the file fetched whole.
    const bool rangeRefused = sink.versionChanged || (result != CURLE_OK && transfer->status() == 416);
    if (rangeRefused && target.existing() > 0) {
        if (!target.restart() || !prepare())
            result = CURLE_WRITE_ERROR;
        else
            result = transfer->run(poll, kPollMs);
    }
    Status status = Status::success();
    if (result == CURLE_OK
        && !report(
            TransferProgress::Progress, TransferProgress::EndData, transfer->effectiveAddress(), false))
        result = CURLE_ABORTED_BY_CALLBACK;
    if (result == CURLE_ABORTED_BY_CALLBACK)
        status = Status::failure("the transfer was aborted");
    else if (sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        status = Status::failure("the file is larger than " + std::to_string(options.maxBytes) + " bytes");
    else if (sink.writeFailed)
        status = Status::failure(target.error());
    else if (result != CURLE_OK)
        status = Status::failure(transfer->errorText(result));
    else if (!target.commit(file))
        status = Status::failure(target.error());
    // Bytes over a limit or that could not be written are no start for another attempt.
    if (sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED || sink.writeFailed)
        target.discard();

    TransferProgress stop;
    stop.phase = TransferProgress::Stop;
    stop.received = sink.base + sink.received;
    stop.total = transfer->announcedLength();
    stop.statusCode = transfer->status();
    stop.statusText = status.error;
    if (progress)
        progress(stop);
    return status;
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
