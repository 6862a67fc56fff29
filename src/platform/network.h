#pragma once
// The network: a connectivity check, synchronous downloads and GET requests.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/pieces.h"
#include "platform/result.h"

namespace platform {

// A progress report of a transfer, in the order start, progress reports, stop.
struct TransferProgress {
    enum Phase { Start, Progress, Stop };
    // Status codes of Start and Progress reports, numbered like the bind status codes the
    // windows were written against. A Stop report carries the HTTP status (0 when none
    // arrived) and, on failure, the reason as its text.
    enum Code { Connecting = 2, Redirecting = 3, BeginData = 4, Data = 5, EndData = 6 };
    Phase phase = Start;
    long long received = 0;
    long long total = 0; // announced length, 0 when unknown
    int statusCode = 0;
    std::string statusText;
    // A report made only because no bytes arrived for a while (nothing new to show).
    bool heartbeat = false;
};

// Limits of one download; zero means none.
struct DownloadOptions {
    // The whole transfer fails once it has run this long.
    long maxSeconds = 0;
    // A body larger than this fails the transfer (announced or received).
    long long maxBytes = 0;
    // An interrupted transfer keeps its bytes in a hidden partial file beside the target, with
    // a control file naming the address and the server's version of the file; the next
    // download of the same target continues them with a range request only for the same
    // address and version (from the start otherwise, or when the server sends the file whole).
    bool resumable = false;
    // Request headers sent besides the usual ones, each "Name: value" (a site's User-Agent,
    // Referer or Cookie).
    std::vector<std::string> headers {};
};

// The answer to a GET: the body bytes and whether a response arrived whole, whatever its
// HTTP status.
struct HttpResponse {
    bool completed = false;
    int status = 0;
    std::string contentType;
    std::string body;
    // The address the body came from, after redirects.
    std::string url;
};

class Network {
public:
    virtual ~Network() = default;
    // Forces a connection attempt to the probe address; answers within a few seconds.
    virtual bool checkConnection(const std::string& probeAddress) = 0;
    // Downloads url into file. The callback runs on the calling thread; returning false from
    // it aborts the transfer. The file is replaced only when the transfer succeeds; options
    // bound its time and size.
    virtual Status download(const std::string& url, const std::string& file,
        const std::function<bool(const TransferProgress&)>& progress, const DownloadOptions& options = {})
        = 0;
    // Fetches url and returns its body.
    virtual HttpResponse get(const std::string& url) = 0;
    // The lengths of urls as their servers announce them to HEAD requests, -1 where unknown.
    // The requests run at once, each within a bounded time; keepGoing runs while they are
    // waited for (the caller's event pump), and the asking stops when it returns false.
    virtual std::vector<long long> contentLengths(
        const std::vector<std::string>& urls, const std::function<bool()>& keepGoing)
    {
        (void)keepGoing;
        return std::vector<long long>(urls.size(), -1);
    }
    // Like get, but polls keepGoing while it waits and gives up (completed false) as soon as
    // it returns false. Engines that load on worker threads cancel their loads this way.
    virtual HttpResponse fetch(const std::string& url, const std::function<bool()>& keepGoing)
    {
        (void)keepGoing;
        return get(url);
    }
    // Fetches pieces of downloads side by side; nullptr where the network cannot.
    virtual std::unique_ptr<PieceFetcher> pieceFetcher() { return nullptr; }
};

} // namespace platform
