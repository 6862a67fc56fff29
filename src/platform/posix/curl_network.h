#pragma once
// The network service on libcurl: connection check, downloads to files and page fetches.
#include <string>

#include "platform/network.h"

namespace platform {

// Limits and identity of every transfer. Tests shorten the time-outs.
struct CurlOptions {
    // Sent with every request.
    std::string userAgent = "Mozilla/5.0 (X11; Linux x86_64) Zelvora/1.0";
    // Time allowed for name resolution and the connection (and TLS handshake).
    long connectTimeoutMs = 10000;
    // The whole connection check answers within this time.
    long probeTimeoutMs = 3000;
    // A transfer that receives nothing for this long fails.
    long stallSeconds = 30;
    // A page fetch ends after this long, however its bytes arrive.
    long pageTimeoutMs = 60000;
    // A length asked for with a HEAD request is known within this time or stays unknown.
    long lengthTimeoutMs = 10000;
    // Lengths asked for at once on at most this many connections.
    long lengthConnections = 8;
    // A fetched page larger than this is refused (downloads to files have no limit).
    long long maxPageBytes = 32LL * 1024 * 1024;
    // While no data arrives, a download still reports progress this often, so the caller's
    // pump keeps running and an abort takes effect.
    int heartbeatMs = 200;
    // Receive buffer of a transfer.
    long bufferBytes = 128L * 1024;
    // Pages are asked for compressed (gzip, deflate, brotli) and inflated on arrival.
    bool compressedPages = true;
};

class CurlNetwork : public Network {
public:
    explicit CurlNetwork(CurlOptions options = {});

    bool checkConnection(const std::string& probeAddress) override;
    Status download(const std::string& url, const std::string& file,
        const std::function<bool(const TransferProgress&)>& progress,
        const DownloadOptions& options = {}) override;
    HttpResponse get(const std::string& url) override;
    std::vector<long long> contentLengths(
        const std::vector<std::string>& urls, const std::function<bool()>& keepGoing) override;
    HttpResponse fetch(const std::string& url, const std::function<bool()>& keepGoing) override;
    std::unique_ptr<PieceFetcher> pieceFetcher() override;

    [[nodiscard]] const CurlOptions& options() const { return m_options; }

private:
    CurlOptions m_options;
};

// The address ready for the wire: surrounding blanks removed, blanks, control characters
// and non-ASCII bytes percent-encoded. Empty when it is not an http or https address with
// a host.
std::string normalizeWebAddress(const std::string& url);

} // namespace platform
