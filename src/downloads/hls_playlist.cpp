#include "downloads/hls_playlist.h"
#include "runtime/ascii.h"

#include <algorithm>
#include <cctype>

namespace downloads {

namespace {

// The value of an attribute of a tag line (BANDWIDTH=..., URI="..."), quotes removed.
std::string attribute(const std::string& line, const std::string& name)
{
    size_t at = 0;
    while ((at = line.find(name + "=", at)) != std::string::npos) {
        if (at == 0 || line[at - 1] == ':' || line[at - 1] == ',')
            break;
        at += name.size();
    }
    if (at == std::string::npos)
        return {};
    size_t start = at + name.size() + 1;
    if (start < line.size() && line[start] == '"') {
        const size_t end = line.find('"', start + 1);
        return end == std::string::npos ? std::string() : line.substr(start + 1, end - start - 1);
    }
    const size_t end = line.find(',', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

bool isHlsAddress(const std::string& url)
{
    return runtime::asciiLower(url.substr(0, url.find_first_of("?#"))).ends_with(".m3u8");
}

std::string resolveAddress(const std::string& base, const std::string& relative)
{
    if (relative.find("://") != std::string::npos)
        return relative;
    const size_t scheme = base.find("://");
    if (scheme == std::string::npos)
        return relative;
    const size_t hostEnd = base.find('/', scheme + 3);
    const std::string origin = base.substr(0, hostEnd);
    if (relative.starts_with("//"))
        return base.substr(0, scheme + 1) + relative;
    if (relative.starts_with("/"))
        return origin + relative;
    const std::string path = base.substr(0, base.find_first_of("?#", scheme + 3));
    const size_t slash = path.rfind('/');
    const std::string folder
        = slash == std::string::npos || slash < scheme + 3 ? origin + "/" : path.substr(0, slash + 1);
    return folder + relative;
}

HlsPlaylist parseHlsPlaylist(const std::string& text, const std::string& base)
{
    HlsPlaylist out;
    long long bestBandwidth = -1;
    bool streamNext = false;
    long long streamBandwidth = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = runtime::trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line.starts_with("#EXT-X-STREAM-INF:")) {
            streamNext = true;
            const std::string bw = attribute(line, "BANDWIDTH");
            streamBandwidth
                = bw.empty() || bw.find_first_not_of("0123456789") != std::string::npos || bw.size() > 15
                ? 0
                : std::stoll(bw);
        } else if (line.starts_with("#EXT-X-KEY:") && attribute(line, "METHOD") != "NONE") {
            out.refusal = "加密的视频流，不能下载";
        } else if (line.starts_with("#EXT-X-BYTERANGE")) {
            out.refusal = "分段方式不支持";
        } else if (line.starts_with("#EXT-X-MAP:")) {
            const std::string uri = attribute(line, "URI");
            if (!uri.empty())
                out.fragments.push_back(resolveAddress(base, uri));
        } else if (line[0] != '#') {
            if (streamNext) {
                if (streamBandwidth > bestBandwidth) {
                    bestBandwidth = streamBandwidth;
                    out.bestStream = resolveAddress(base, line);
                }
                streamNext = false;
            } else {
                out.fragments.push_back(resolveAddress(base, line));
            }
        }
    }
    if (!out.bestStream.empty())
        out.fragments.clear();
    return out;
}

} // namespace downloads
