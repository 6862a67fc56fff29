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
    std::string scheme;     // "http"
    std::string authority;  // "host:port"
    std::string path;       // "/a/b.html"
    std::string query;      // "?x=1" (with its mark) or empty
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
    parts.query = address.substr(queryStart, (fragment == std::string::npos ? address.size() : fragment) - queryStart);
    return true;
}

// Removes "." and ".." segments of an absolute path.
std::string removeDots(std::string_view path)
{
    std::vector<std::string_view> segments;
    size_t i = 1;  // past the leading '/'
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

}  // namespace

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

std::string resolveAddress(const std::string& base, const std::string& ref)
{
    std::string r = cleaned(ref);
    if (schemeLength(r) > 0)
        return r;
    Parts b;
    if (!split(base, b))
        return r;
    const std::string scheme = addressScheme(base);
    if (scheme == "http" || scheme == "https") {
        // Web pages write backslashes for slashes; browsers read them so.
        const size_t end = r.find_first_of("?#");
        for (size_t i = 0; i < r.size() && i < end; ++i) {
            if (r[i] == '\\')
                r[i] = '/';
        }
    }
    const std::string origin = b.scheme + "://" + b.authority;
    if (r.rfind("//", 0) == 0)
        return b.scheme + ":" + r;
    if (r.empty())
        return origin + b.path + b.query;
    if (r[0] == '#')
        return origin + b.path + b.query + r;
    if (r[0] == '?')
        return origin + b.path + r;
    const size_t suffixStart = std::min(r.find_first_of("?#"), r.size());
    const std::string refPath = r.substr(0, suffixStart);
    const std::string suffix = r.substr(suffixStart);
    if (r[0] == '/')
        return origin + removeDots(refPath) + suffix;
    const std::string merged = b.path.substr(0, b.path.rfind('/') + 1) + refPath;
    return origin + removeDots(merged) + suffix;
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

}  // namespace platform
