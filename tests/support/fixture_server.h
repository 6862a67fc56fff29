#pragma once
// A web server on the loopback interface for tests and benchmarks: it stands in for every
// outside site. Each instance listens on 127.0.0.1 with a port of its own.
//
// Pages added with addPage are sent as they are (a page added at a path with a query answers
// that exact request target before the page at its path), with an ETag of their bytes and
// ranges that honour If-Range; under /compressed/... the same pages are compressed for clients
// that accept it, under /bare/... without a validator (ranges are then always sent), and under
// /slowly/CHUNK/MS/... sent CHUNK bytes every MS ms. Besides them,
// it answers:
//   /bytes/N                  N pattern bytes with a Content-Length
//   /nolength/N               N pattern bytes, chunked, without a Content-Length
//   /throttle/N/CHUNK/MS      N pattern bytes with a Content-Length, CHUNK bytes every MS ms
//   /cut/N                    announces N pattern bytes, sends half of them, closes
//   /redirect/K?to=PATH       K redirects (302) in a row, then to PATH
//   /status/CODE              status CODE with a small HTML body
//   /slow/MS                  waits MS ms before answering with a small page
//   /agent                    the request's User-Agent as plain text
//   /cookie/NAME=VALUE/PATH   the page at PATH, only to a request with that cookie (else 403)
//   /silent[/...]             reads the request and never answers
//   /trickle[/...]            a chunked body of one byte a second, for ever
//   /endless[/...]            a chunked body that never ends, as fast as it is read
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class FixtureServer {
public:
    // Starts listening; the server runs until destroyed.
    FixtureServer();
    ~FixtureServer();
    FixtureServer(const FixtureServer&) = delete;
    FixtureServer& operator=(const FixtureServer&) = delete;

    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string url(const std::string& path = "/") const;
    // Serves body at path (GET) with this content type, replacing an earlier page there.
    void addPage(const std::string& path, std::string body, std::string contentType = "text/html");
    // The next answer for path (a page or /bytes/N) hangs up after its first `bytes` bytes.
    void cutNext(const std::string& path, size_t bytes);
    // The next `count` requests for path are answered with this status (and a Retry-After
    // header when retryAfter is not empty) before the path is served again.
    void refuseNext(const std::string& path, int status, const std::string& retryAfter, int count = 1);
    // The ETag a page with these bytes is sent with.
    static std::string etagOf(const std::string& body);
    // Requests seen for path so far (any route).
    int hits(const std::string& path) const;
    // The Range header of each request seen for path so far ("" without one), in order.
    std::vector<std::string> ranges(const std::string& path) const;
    // The request targets (path and query, as sent) seen for path so far, in order.
    std::vector<std::string> targets(const std::string& path) const;
    // An address of a server that answers every connection with these bytes and hangs up.
    std::string garbageUrl(std::string bytes = "\x16\x03garbage\r\n\r\n\xff\xfe not http");

    // The pattern bytes the byte routes send, from offset on.
    static std::string pattern(size_t offset, size_t count);
    // An address where nothing listens (the connection is refused).
    static std::string refusedUrl();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_port = 0;
};

} // namespace testing_support
