#include "platform/headless_url.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace platform {

namespace {

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeChar(char c)
{
    return isAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Length of the scheme at the start of s (without the colon), 0 when there is none.
size_t schemeLength(std::string_view s)
{
    if (s.empty() || !isAlpha(s[0]))
        return 0;
    size_t i = 1;
    while (i < s.size() && isSchemeChar(s[i]))
        ++i;
    return i < s.size() && s[i] == ':' ? i : 0;
}

std::string cleaned(const std::string& ref)
{
    size_t b = 0;
    size_t e = ref.size();
    while (b < e && static_cast<unsigned char>(ref[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(ref[e - 1]) <= 0x20)
        --e;
    std::string out;
    out.reserve(e - b);
    for (size_t i = b; i < e; ++i) {
        if (ref[i] != '\t' && ref[i] != '\n' && ref[i] != '\r')
            out += ref[i];
    }
    return out;
}

// The parts of a hierarchical address.
struct Parts {
    std::string scheme; // "http"
    std::string authority; // "host:port"
    std::string path; // "/a/b.html"
    std::string query; // "?x=1" (with its mark) or empty
};

bool split(const std::string& address, Parts& parts)
{
    const size_t s = schemeLength(address);
    if (s == 0 || address.compare(s, 3, "://") != 0)
        return false;
    parts.scheme = address.substr(0, s);
    const size_t authorityStart = s + 3;
    size_t pathStart = address.find_first_of("/?#", authorityStart);
    if (pathStart == std::string::npos)
        pathStart = address.size();
    parts.authority = address.substr(authorityStart, pathStart - authorityStart);
    size_t queryStart = address.find_first_of("?#", pathStart);
    if (queryStart == std::string::npos)
        queryStart = address.size();
    parts.path = address.substr(pathStart, queryStart - pathStart);
    if (parts.path.empty())
        parts.path = "/";
    const size_t fragment = address.find('#', queryStart);
    parts.query = address.substr(
        queryStart, (fragment == std::string::npos ? address.size() : fragment) - queryStart);
    return true;
}

// Removes "." and ".." segments of an absolute path.
std::string removeDots(std::string_view path)
{
    if (path.find("/.") == std::string_view::npos)
        return std::string(path);
    std::vector<std::string_view> segments;
    size_t i = 1; // past the leading '/'
    bool trailingSlash = false;
    while (i <= path.size()) {
        size_t end = path.find('/', i);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view seg = path.substr(i, end - i);
        const bool last = end == path.size();
        if (seg == ".") {
            trailingSlash = last;
        } else if (seg == "..") {
            if (!segments.empty())
                segments.pop_back();
            trailingSlash = last;
        } else {
            segments.push_back(seg);
            trailingSlash = false;
        }
        i = end + 1;
    }
    std::string out;
    out.reserve(path.size());
    for (const auto& seg : segments) {
        out += '/';
        out += seg;
    }
    if (trailingSlash || out.empty())
        out += '/';
    return out;
}

} // namespace

std::string addressScheme(const std::string& address)
{
    const size_t n = schemeLength(address);
    std::string scheme = address.substr(0, n);
    for (char& c : scheme) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return scheme;
}

bool isWebAddress(const std::string& address)
{
    return address.starts_with("http://") || address.starts_with("https://");
}

AddressResolver::AddressResolver(const std::string& base)
{
    Parts b;
    m_hierarchical = split(base, b);
    if (!m_hierarchical)
        return;
    const std::string scheme = addressScheme(base);
    m_web = scheme == "http" || scheme == "https";
    m_scheme = b.scheme;
    m_origin = b.scheme + "://" + b.authority;
    m_path = b.path;
    m_query = b.query;
    m_folder = b.path.substr(0, b.path.rfind('/') + 1);
}

std::string AddressResolver::resolve(const std::string& ref) const
{
    std::string r = cleaned(ref);
    if (!m_hierarchical || schemeLength(r) > 0)
        return r;
    const size_t suffixStart = std::min(r.find_first_of("?#"), r.size());
    if (m_web) {
        // Web pages write backslashes for slashes; browsers read them so.
        std::replace(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(suffixStart), '\\', '/');
    }
    if (r.starts_with("//"))
        return m_scheme + ":" + r;
    if (r.empty())
        return m_origin + m_path + m_query;
    if (r[0] == '#')
        return m_origin + m_path + m_query + r;
    if (r[0] == '?')
        return m_origin + m_path + r;
    const std::string_view refPath(r.data(), suffixStart);
    const std::string_view suffix(r.data() + suffixStart, r.size() - suffixStart);
    std::string out = m_origin;
    if (r[0] == '/')
        out += removeDots(refPath);
    else
        out += removeDots(m_folder + std::string(refPath));
    out += suffix;
    return out;
}

std::string resolveAddress(const std::string& base, const std::string& ref)
{
    return AddressResolver(base).resolve(ref);
}

std::string fileAddress(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "file://";
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || c == '%' || c == '#' || c == '?') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace platform
