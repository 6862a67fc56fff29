#include "common/hls_playlist.h"

#include <algorithm>
#include <utility>

#include "platform/headless_url.h"
#include "runtime/ascii.h"

namespace common {

namespace {

// The value of an attribute of a tag line (BANDWIDTH=..., URI="..."), quotes removed; a
// quoted value that is not closed is empty.
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
    const size_t start = at + name.size() + 1;
    if (start < line.size() && line[start] == '"') {
        const size_t end = line.find('"', start + 1);
        return end == std::string::npos ? std::string() : line.substr(start + 1, end - start - 1);
    }
    const size_t end = line.find(',', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The BANDWIDTH of a stream line, 0 when it is missing or not a plain number.
long long streamBandwidth(const std::string& line)
{
    const std::string bw = attribute(line, "BANDWIDTH");
    return bw.empty() || bw.find_first_not_of("0123456789") != std::string::npos || bw.size() > 15
        ? 0
        : std::stoll(bw);
}

// Reads a playlist line by line: tags say what the next address is, addresses are pieces or
// the streams to choose from.
class HlsReader {
public:
    explicit HlsReader(const std::string& address)
        : m_resolver(address)
    {
    }

    // False once the list is too long to keep.
    bool readLine(const std::string& line)
    {
        if (line.empty())
            return true;
        if (line[0] == '#')
            readTag(line);
        else
            readAddress(line);
        if (m_out.pieces.size() <= kMaxHlsPieces)
            return true;
        // Sound: a playlist of millions of short lines would be held whole in memory.
        m_out.pieces.clear();
        m_out.tooLong = true;
        return false;
    }

    HlsPlaylist finish()
    {
        if (!m_out.variant.empty())
            m_out.pieces.clear();
        return std::move(m_out);
    }

private:
    void readTag(const std::string& line)
    {
        if (line.starts_with("#EXT-X-STREAM-INF:")) {
            m_streamNext = true;
            m_streamBandwidth = streamBandwidth(line);
        } else if (line.starts_with("#EXT-X-KEY:") && attribute(line, "METHOD") != "NONE") {
            m_out.encrypted = true;
        } else if (line.starts_with("#EXT-X-BYTERANGE")) {
            m_out.byteRanges = true;
        } else if (line.starts_with("#EXT-X-MAP:")) {
            // Sound: a byte range of the initialisation section is as unjoinable as one of a piece.
            if (!attribute(line, "BYTERANGE").empty())
                m_out.byteRanges = true;
            const std::string uri = attribute(line, "URI");
            if (!uri.empty())
                addPiece(uri);
        }
    }

    void readAddress(const std::string& line)
    {
        if (!m_streamNext) {
            addPiece(line);
            return;
        }
        m_streamNext = false;
        const std::string stream = m_resolver.resolve(line);
        if (platform::isWebAddress(stream) && m_streamBandwidth > m_bestBandwidth) {
            m_bestBandwidth = m_streamBandwidth;
            m_out.variant = stream;
        }
    }

    void addPiece(const std::string& address)
    {
        // Sound: a piece may only come from the web, never from a local file or another scheme.
        std::string piece = m_resolver.resolve(address);
        if (platform::isWebAddress(piece))
            m_out.pieces.push_back(std::move(piece));
    }

    const platform::AddressResolver m_resolver;
    HlsPlaylist m_out;
    long long m_bestBandwidth = -1;
    bool m_streamNext = false;
    long long m_streamBandwidth = 0;
};

} // namespace

bool isHlsAddress(const std::string& url)
{
    return runtime::asciiLower(url.substr(0, url.find_first_of("?#"))).ends_with(".m3u8");
}

HlsPlaylist readHlsPlaylist(std::string_view text, const std::string& address)
{
    HlsReader reader(address);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (!reader.readLine(runtime::trimmed(text.substr(start, end - start))))
            break;
        start = end + 1;
    }
    return reader.finish();
}

} // namespace common
