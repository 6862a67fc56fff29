#include "platform/headless_fetch.h"

#include <cctype>
#include <optional>

#include "platform/headless_charset.h"
#include "platform/headless_url.h"
#include "platform/network.h"
#include "platform/textfile.h"

namespace platform {

namespace {

// The largest local page read (bigger files show an empty document).
constexpr size_t kMaxLocalPage = 32LL * 1024 * 1024;

std::string lowered(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// The local path a file address or path names, or an empty text.
std::string localPath(const std::string& url)
{
    if (isLocalPath(url))
        return url;
    if (addressScheme(url) != "file" || url.compare(0, 7, "file://") != 0)
        return {};
    std::string path;
    const std::string rest = url.substr(7);
    const size_t slash = rest.find('/');
    if (slash == std::string::npos)
        return {};
    for (size_t i = slash; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i + 1]))
            && std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
            path += static_cast<char>(std::stoi(rest.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (rest[i] == '?' || rest[i] == '#') {
            break;
        } else {
            path += rest[i];
        }
    }
    return path;
}

bool isHtmlFile(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    const std::string ext = lowered(path.substr(dot + 1));
    return ext == "htm" || ext == "html" || ext == "shtml" || ext == "xhtml";
}

// Reads a local HTML page; other files (pictures, text) show an empty document headless.
std::optional<std::string> readLocalPage(const std::string& path)
{
    if (!isHtmlFile(path))
        return std::string();
    // Only a regular file is read: a FIFO named as a page would block the load for good.
    auto bytes = readFile(path, kMaxLocalPage);
    if (!bytes)
        return std::nullopt;
    return std::move(*bytes);
}

} // namespace

bool isLocalPath(const std::string& url)
{
    return !url.empty() && url[0] == '/';
}

// The address relative links of a document at location resolve against.
std::string resolutionBase(const std::string& location)
{
    return isLocalPath(location) ? fileAddress(location) : location;
}

LoadedPage loadPage(Network* network, const std::string& defaultCharset, const std::string& url,
    const std::function<bool()>& keepGoing)
{
    LoadedPage out;
    out.location = url;
    const std::string path = localPath(url);
    if (!path.empty()) {
        if (const auto bytes = readLocalPage(path))
            out.page = parsePage(decodePage(*bytes, "", defaultCharset), fileAddress(path));
        return out;
    }
    const std::string scheme = addressScheme(url);
    if ((scheme != "http" && scheme != "https") || !network)
        return out;
    HttpResponse response = network->fetch(url, keepGoing);
    if (!response.completed)
        return out;
    if (!response.url.empty())
        out.location = response.url;
    out.page = parsePage(decodePage(response.body, response.contentType, defaultCharset), out.location);
    return out;
}

} // namespace platform
