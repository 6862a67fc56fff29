#include "fixture_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace testing_support {

namespace {

constexpr size_t kPieceBytes = 64 * 1024;
// The pattern repeats with this (prime) period, so it can be served straight from a table.
constexpr size_t kPeriod = 65521;

// kPieceBytes pattern bytes starting at offset, without copying.
const char* patternAt(size_t offset)
{
    static const std::string table = [] {
        std::string t(kPeriod + kPieceBytes, '\0');
        for (size_t i = 0; i < t.size(); ++i) {
            const size_t at = i % kPeriod;
            t[i] = static_cast<char>((at * 131 + (at >> 7)) & 0xFF);
        }
        return t;
    }();
    return table.data() + offset % kPeriod;
}

size_t number(const httplib::Request& req, size_t index)
{
    return static_cast<size_t>(std::stoull(req.matches[index].str()));
}

// A listening socket on 127.0.0.1 with an ephemeral port; -1 on failure.
int listenLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(addr.sin_port);
    return fd;
}

// Answers every connection with fixed bytes and hangs up.
class RawServer {
public:
    explicit RawServer(std::string bytes)
        : m_bytes(std::move(bytes))
    {
        m_fd = listenLoopback(m_port);
        if (m_fd >= 0)
            m_thread = std::thread([this] { run(); });
    }
    ~RawServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int port() const { return m_port; }

private:
    void run()
    {
        while (!m_stop) {
            pollfd p { m_fd, POLLIN, 0 };
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            (void)::send(client, m_bytes.data(), m_bytes.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    std::string m_bytes;
    int m_fd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
};

} // namespace

struct FixtureServer::Impl {
    httplib::Server server;
    std::thread thread;
    mutable std::mutex mutex;
    // Page bodies are shared with the responses that are still streaming them. The ETag is
    // worked out once, as a file server takes it from the file's date instead of reading
    // the whole body for every request.
    struct Page {
        std::shared_ptr<const std::string> body;
        std::string type;
        std::string etag;
    };
    std::map<std::string, Page> pages;
    std::map<std::string, int> hits;
    std::map<std::string, size_t> cuts;
    struct Refusal {
        int status;
        std::string retryAfter;
        int count;
    };
    std::map<std::string, Refusal> refusals;
    std::map<std::string, std::vector<std::string>> ranges;
    std::map<std::string, std::vector<std::string>> targets;
    std::vector<std::unique_ptr<RawServer>> raw;
    // Set before the server stops, so the routes that never end by themselves let go.
    std::atomic<bool> stopping { false };

    void routes();
    // Where the answer to a GET of the request's path hangs up (taken once), or no limit.
    size_t takeCut(const httplib::Request& req);
    // The page added at target, else at path; its body is null when there is none.
    Page findPage(const std::string& target, const std::string& path);
    // Answers with the page a route names, if there is one.
    void servePage(const httplib::Request& req, httplib::Response& res, const std::string& path,
        bool compressed, size_t chunk, int pauseMs);
    // Waits ms milliseconds, or less when the server stops; false when it stops.
    bool pause(int ms) const;
};

std::string FixtureServer::pattern(size_t offset, size_t count)
{
    std::string out;
    out.reserve(count);
    while (out.size() < count) {
        const size_t n = std::min(count - out.size(), kPieceBytes);
        out.append(patternAt(offset + out.size()), n);
    }
    return out;
}

size_t FixtureServer::Impl::takeCut(const httplib::Request& req)
{
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = req.method == "GET" ? cuts.find(req.path) : cuts.end();
    if (it == cuts.end())
        return SIZE_MAX;
    const size_t at = it->second;
    cuts.erase(it);
    return at;
}

std::string FixtureServer::etagOf(const std::string& body)
{
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : body)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char text[24];
    std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(hash));
    return text;
}

FixtureServer::Impl::Page FixtureServer::Impl::findPage(const std::string& target, const std::string& path)
{
    std::lock_guard<std::mutex> lock(mutex);
    auto it = pages.find(target);
    if (it == pages.end())
        it = pages.find(path);
    return it == pages.end() ? Page {} : it->second;
}

void FixtureServer::Impl::servePage(const httplib::Request& req, httplib::Response& res,
    const std::string& path, bool compressed, size_t chunk, int pauseMs)
{
    const Page page = findPage(req.target, path);
    const std::shared_ptr<const std::string>& body = page.body;
    const std::string& type = page.type;
    if (!body) {
        res.status = 404;
        res.set_content("<html><body>not found</body></html>", "text/html");
        return;
    }
    if (compressed) {
        // Compressed on the fly when the client accepts it.
        res.set_content(*body, type.c_str());
        return;
    }
    const std::string& etag = page.etag;
    res.set_header("ETag", etag);
    // A range of another version is not sent: the whole page is. The ranges are applied after
    // the handler, from the request it was handed.
    if (req.has_header("If-Range") && req.get_header_value("If-Range") != etag)
        const_cast<httplib::Request&>(req).ranges.clear();
    const size_t cut = takeCut(req);
    // Streamed as it is, like a static file.
    res.set_content_provider(body->size(), type,
        [this, body, chunk, pauseMs, cut](size_t offset, size_t length, httplib::DataSink& sink) {
            if (offset >= cut || (offset > 0 && pauseMs > 0 && !pause(pauseMs)))
                return false; // hang up mid-body
            return sink.write(body->data() + offset, std::min({ length, chunk, cut - offset }));
        });
}

bool FixtureServer::Impl::pause(int ms) const
{
    for (int waited = 0; waited < ms && !stopping; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return !stopping;
}

void FixtureServer::Impl::routes()
{
    server.Get(R"(/bytes/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
        const size_t cut = takeCut(req);
        res.set_content_provider(number(req, 1), "application/octet-stream",
            [cut](size_t offset, size_t length, httplib::DataSink& sink) {
                return offset < cut
                    && sink.write(patternAt(offset), std::min({ length, kPieceBytes, cut - offset }));
            });
    });
    server.Get(R"(/nolength/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        const size_t total = number(req, 1);
        res.set_chunked_content_provider(
            "application/octet-stream", [total](size_t offset, httplib::DataSink& sink) {
                if (offset >= total) {
                    sink.done();
                    return true;
                }
                return sink.write(patternAt(offset), std::min(total - offset, kPieceBytes));
            });
    });
    server.Get(R"(/throttle/(\d+)/(\d+)/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        const size_t chunk = std::max<size_t>(number(req, 2), 1);
        const auto pause = std::chrono::milliseconds(number(req, 3));
        res.set_content_provider(number(req, 1), "application/octet-stream",
            [chunk, pause](size_t offset, size_t length, httplib::DataSink& sink) {
                if (offset > 0)
                    std::this_thread::sleep_for(pause);
                const std::string piece = pattern(offset, std::min(length, chunk));
                return sink.write(piece.data(), piece.size());
            });
    });
    server.Get(R"(/cut/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        const size_t half = number(req, 1) / 2;
        res.set_content_provider(number(req, 1), "application/octet-stream",
            [half](size_t offset, size_t length, httplib::DataSink& sink) {
                if (offset >= half)
                    return false; // hang up mid-body
                return sink.write(patternAt(offset), std::min({ length, half - offset, kPieceBytes }));
            });
    });
    server.Get(R"(/redirect/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        const size_t left = number(req, 1);
        const std::string to = req.get_param_value("to");
        res.set_redirect(left <= 1 ? to : "/redirect/" + std::to_string(left - 1) + "?to=" + to, 302);
    });
    server.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        res.status = static_cast<int>(number(req, 1));
        res.set_content("<html><body>status " + req.matches[1].str() + " page</body></html>", "text/html");
    });
    server.Get(R"(/slow/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(number(req, 1)));
        res.set_content("<html><body>slow page</body></html>", "text/html");
    });
    server.Get(R"(/silent(/.*)?)", [this](const httplib::Request&, httplib::Response& res) {
        while (pause(50)) { }
        res.status = 503;
    });
    server.Get(R"(/trickle(/.*)?)", [this](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [this](size_t offset, httplib::DataSink& sink) {
            return (offset == 0 || pause(1000)) && sink.write(patternAt(offset), 1);
        });
    });
    server.Get(R"(/endless(/.*)?)", [this](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [this](size_t offset, httplib::DataSink& sink) {
                return !stopping && sink.write(patternAt(offset), kPieceBytes);
            });
    });
    server.Get("/agent", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_header_value("User-Agent"), "text/plain");
    });
    server.Get(R"(/cookie/([^/]+)(/.*))", [this](const httplib::Request& req, httplib::Response& res) {
        const Impl::Page page = findPage(req.matches[2].str(), req.matches[2].str());
        const std::shared_ptr<const std::string>& body = page.body;
        const std::string cookies = "; " + req.get_header_value("Cookie") + ";";
        if (!body || cookies.find("; " + req.matches[1].str() + ";") == std::string::npos) {
            res.status = 403;
            res.set_content("<html><body>log in first</body></html>", "text/html");
            return;
        }
        res.set_content(*body, page.type.c_str());
    });
    server.Get(R"(/slowly/(\d+)/(\d+)(/.*))", [this](const httplib::Request& req, httplib::Response& res) {
        servePage(req, res, req.matches[3].str(), false, std::max<size_t>(number(req, 1), 1),
            static_cast<int>(number(req, 2)));
    });
    server.Get(R"(/bare(/.*))", [this](const httplib::Request& req, httplib::Response& res) {
        servePage(req, res, req.matches[1].str(), false, kPieceBytes, 0);
        res.headers.erase("ETag");
    });
    server.Get(R"((/compressed)?(/.*))", [this](const httplib::Request& req, httplib::Response& res) {
        servePage(req, res, req.matches[2].str(), req.matches[1].length() > 0, kPieceBytes, 0);
    });
    // Requests are counted as they arrive: a client may finish reading a response before the
    // server thread gets round to logging it.
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> lock(mutex);
        ++hits[req.path];
        targets[req.path].push_back(req.target);
        ranges[req.path].push_back(req.get_header_value("Range"));
        auto refusal = refusals.find(req.path);
        if (refusal == refusals.end())
            return httplib::Server::HandlerResponse::Unhandled;
        // The refusal is the whole answer: no range of it is cut out.
        const_cast<httplib::Request&>(req).ranges.clear();
        res.status = refusal->second.status;
        if (!refusal->second.retryAfter.empty())
            res.set_header("Retry-After", refusal->second.retryAfter);
        res.set_content("<html><body>slow down</body></html>", "text/html");
        if (--refusal->second.count <= 0)
            refusals.erase(refusal);
        return httplib::Server::HandlerResponse::Handled;
    });
}

FixtureServer::FixtureServer()
    : m_impl(std::make_unique<Impl>())
{
    m_impl->routes();
    // Paused transfers (a nested download runs while the outer one waits) must not time out.
    m_impl->server.set_write_timeout(120, 0);
    m_impl->server.set_keep_alive_timeout(1);
    m_port = m_impl->server.bind_to_any_port("127.0.0.1");
    m_impl->thread = std::thread([this] { m_impl->server.listen_after_bind(); });
    // A stop that comes before the accept loop runs would be missed and leave the loop
    // waiting for ever; so the server is up before anyone can stop it.
    for (int i = 0; m_port > 0 && i < 5000 && !m_impl->server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FixtureServer::~FixtureServer()
{
    m_impl->stopping = true;
    m_impl->server.stop();
    if (m_impl->thread.joinable())
        m_impl->thread.join();
}

std::string FixtureServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void FixtureServer::addPage(const std::string& path, std::string body, std::string contentType)
{
    std::string etag = etagOf(body);
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->pages[path]
        = { std::make_shared<const std::string>(std::move(body)), std::move(contentType), std::move(etag) };
}

void FixtureServer::cutNext(const std::string& path, size_t bytes)
{
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->cuts[path] = bytes;
}

void FixtureServer::refuseNext(const std::string& path, int status, const std::string& retryAfter, int count)
{
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->refusals[path] = { status, retryAfter, count };
}

int FixtureServer::hits(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    auto it = m_impl->hits.find(path);
    return it == m_impl->hits.end() ? 0 : it->second;
}

std::vector<std::string> FixtureServer::ranges(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    auto it = m_impl->ranges.find(path);
    return it == m_impl->ranges.end() ? std::vector<std::string> {} : it->second;
}

std::vector<std::string> FixtureServer::targets(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    auto it = m_impl->targets.find(path);
    return it == m_impl->targets.end() ? std::vector<std::string> {} : it->second;
}

std::string FixtureServer::garbageUrl(std::string bytes)
{
    auto raw = std::make_unique<RawServer>(std::move(bytes));
    const std::string address = "http://127.0.0.1:" + std::to_string(raw->port()) + "/";
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->raw.push_back(std::move(raw));
    return address;
}

std::string FixtureServer::refusedUrl()
{
    int port = 0;
    const int fd = listenLoopback(port);
    if (fd >= 0)
        ::close(fd);
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

} // namespace testing_support
