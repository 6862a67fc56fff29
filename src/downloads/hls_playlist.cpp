#include "downloads/hls_playlist.h"
#include "runtime/ascii.h"

#include <algorithm>
#include <cctype>
#include <utility>

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

namespace {

// The BANDWIDTH of a stream line, 0 when it is missing or not a plain number.
long long streamBandwidth(const std::string& line)
{
    const std::string bw = attribute(line, "BANDWIDTH");
    return bw.empty() || bw.find_first_not_of("0123456789") != std::string::npos || bw.size() > 15
        ? 0
        : std::stoll(bw);
}

// Reads a playlist line by line: tags set what the next address is, addresses are pieces or
// the variants to choose from.
class HlsReader {
public:
    explicit HlsReader(const std::string& base)
        : m_base(base)
    {
    }

    void readLine(const std::string& line)
    {
        if (line.empty())
            return;
        if (line[0] == '#')
            readTag(line);
        else
            readAddress(line);
    }

    HlsPlaylist finish()
    {
        if (!m_out.bestStream.empty())
            m_out.fragments.clear();
        return std::move(m_out);
    }

private:
    void readTag(const std::string& line)
    {
        if (line.starts_with("#EXT-X-STREAM-INF:")) {
            m_streamNext = true;
            m_streamBandwidth = streamBandwidth(line);
        } else if (line.starts_with("#EXT-X-KEY:") && attribute(line, "METHOD") != "NONE") {
            m_out.refusal = "加密的视频流，不能下载";
        } else if (line.starts_with("#EXT-X-BYTERANGE")) {
            m_out.refusal = "分段方式不支持";
        } else if (line.starts_with("#EXT-X-MAP:")) {
            const std::string uri = attribute(line, "URI");
            if (!uri.empty())
                m_out.fragments.push_back(resolveAddress(m_base, uri));
        }
    }

    void readAddress(const std::string& line)
    {
        if (!m_streamNext) {
            m_out.fragments.push_back(resolveAddress(m_base, line));
            return;
        }
        if (m_streamBandwidth > m_bestBandwidth) {
            m_bestBandwidth = m_streamBandwidth;
            m_out.bestStream = resolveAddress(m_base, line);
        }
        m_streamNext = false;
    }

    const std::string& m_base;
    HlsPlaylist m_out;
    long long m_bestBandwidth = -1;
    bool m_streamNext = false;
    long long m_streamBandwidth = 0;
};

} // namespace

HlsPlaylist parseHlsPlaylist(const std::string& text, const std::string& base)
{
    HlsReader reader(base);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        reader.readLine(runtime::trimmed(text.substr(start, end - start)));
        start = end + 1;
    }
    return reader.finish();
}

} // namespace downloads
