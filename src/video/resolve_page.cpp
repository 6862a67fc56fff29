#include "video/resolve_page.h"

#include "platform/codec.h"
#include "platform/config.h"
#include "resources/resources.h"
#include "runtime/vbtext.h"

namespace video {

namespace {

// The result page in UTF-16 code units, searched and cut with 1-based positions as the
// window's algorithm counts them; the page is converted once, however large it is.
class Page {
public:
    explicit Page(std::string_view text)
        : m_text(vb::toUtf16(text))
    {
    }
    // Position of what at or after start, 0 when absent.
    int find(std::u16string_view what, int start = 1) const
    {
        if (start < 1)
            start = 1;
        if (static_cast<size_t>(start) > m_text.size() + 1)
            return 0;
        const size_t pos = m_text.find(what, static_cast<size_t>(start - 1));
        return pos == std::u16string::npos ? 0 : static_cast<int>(pos) + 1;
    }
    // The trimmed text of length characters from start.
    std::string trimmedMid(int start, int length) const
    {
        return vb::Trim(vb::toUtf8(
            std::u16string_view(m_text).substr(static_cast<size_t>(start - 1), static_cast<size_t>(length))));
    }

private:
    std::u16string m_text;
};

// The attribute value an inserted address becomes: it cannot leave its attribute.
std::string escapedForAttribute(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

int schemeLength(std::string_view address)
{
    // Sound: today's video sites are served over https, so it is accepted beside http.
    if (address.substr(0, 7) == "http://")
        return 7;
    if (address.substr(0, 8) == "https://")
        return 8;
    return 0;
}

std::string hostPrefix(const std::string& host)
{
    return vb::Left(host + "/", 9);
}

bool siteSupported(const platform::Config& config, std::string_view address)
{
    const int scheme = schemeLength(address);
    if (scheme == 0)
        return false;
    const std::string prefix = vb::Mid(address.substr(0, 64), scheme + 1, 9);
    for (int site = 1; site <= kSupportedSites; ++site) {
        if (prefix == hostPrefix(config.get("site." + std::to_string(site))))
            return true;
    }
    return false;
}

std::string siteHomePage(const platform::Config& config, const char* key, const char* path)
{
    return "https://" + config.get(key) + path;
}

std::string parseServiceQuery(const platform::Config& config, std::string_view address, bool highDefinition)
{
    // Sound: a "#" or "&" of the typed address would cut the query short; they travel
    // percent-encoded, everything else exactly as typed.
    std::string keyword;
    keyword.reserve(address.size());
    for (const char c : address) {
        if (c == '#')
            keyword += "%23";
        else if (c == '&')
            keyword += "%26";
        else
            keyword += c;
    }
    std::string query = config.get("parse_service") + "/parse.php?format=&kw=" + keyword;
    if (highDefinition)
        query += "&flag=one&format=real";
    return query;
}

std::optional<std::string> scrapeTitle(std::string_view text)
{
    const Page page(text);
    const int a = page.find(u"</strong>");
    const int b = a == 0 ? 0 : page.find(u"<strong>", a + 8);
    if (a == 0 || b == 0)
        return std::nullopt;
    return vb::Mid(page.trimmedMid(a + 8, b - a - 8), 8, 500);
}

std::optional<std::string> scrapeAddress(std::string_view text)
{
    const Page page(text);
    const int p = page.find(u"下载地址");
    const int q = p == 0 ? 0 : page.find(u"false;", p + 8);
    if (p == 0 || q == 0)
        return std::nullopt;
    // The cut ends on the "f" of "false;", which is then completed.
    return vb::Mid(page.trimmedMid(p + 8, q - p - 7) + "alse;", 10, 500);
}

bool offersHighDefinition(std::string_view text)
{
    const Page page(text);
    const int r = page.find(u"<B>");
    const int s = r == 0 ? 0 : page.find(u"</B>", r + 8);
    if (r == 0 || s == 0)
        return false;
    return vb::Left(page.trimmedMid(r + 8, s - r - 7), 2) == "解析";
}

bool splitVideoSign(std::string_view text)
{
    bool sign = false;
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        const char32_t c = vb::decodeUtf8(text, i);
        unsigned code = static_cast<unsigned>(c);
        if (c >= 0x80) {
            // Designed: the code-page-936 code decides, whatever the platform's code page.
            const std::string bytes = platform::encode(text.substr(start, i - start), "GBK");
            code = 0;
            for (const unsigned char byte : bytes)
                code = code << 8 | byte;
        }
        unsigned leading = code;
        while (leading >= 0x10)
            leading >>= 4;
        if (leading >= 0xB)
            sign = true;
    }
    return sign;
}

std::string previewPiece(int number)
{
    return std::string(resources::get("video/youj" + std::to_string(number) + ".htm"));
}

std::string previewPage(std::string_view piece1, std::string_view highDefinition, std::string_view piece2,
    std::string_view normal, std::string_view piece3)
{
    // Sound: the addresses are escaped for the attribute they are written into.
    std::string page(piece1);
    page += escapedForAttribute(highDefinition);
    page += piece2;
    page += escapedForAttribute(normal);
    page += piece3;
    return page;
}

std::string usageNotes()
{
    return vb::Replace(resources::get("video/usage.txt"), "\n", "\r\n");
}

} // namespace video
