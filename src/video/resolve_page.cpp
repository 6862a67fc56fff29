#include "video/resolve_page.h"

#include <algorithm>

#include "common/page_text.h"
#include "platform/codec.h"
#include "platform/config.h"
#include "player/page_templates.h"
#include "resources/resources.h"
#include "runtime/vbtext.h"

namespace video {

namespace {

// Moves from byte `from` of UTF-8 text over `units` characters as the window counts them
// (UTF-16 code units); the end of the text when it runs out.
size_t advance(std::string_view text, size_t from, int units)
{
    size_t i = from;
    while (units > 0 && i < text.size()) {
        const char32_t c = vb::decodeUtf8(text, i);
        units -= c > 0xFFFF ? 2 : 1;
    }
    return std::min(i, text.size());
}

// The trimmed text from byte `from` up to (not including) byte `to`.
std::string trimmedSlice(std::string_view text, size_t from, size_t to)
{
    return vb::Trim(text.substr(from, to - from));
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
    // Sound: a "#" or "&" of the typed address would cut the query short, and a blank, a quote,
    // an angle bracket or a control character would break the request line; they travel
    // percent-encoded, everything else exactly as typed.
    const std::string keyword = player::pages::percentEncode(address, " \"#&<>");
    std::string query = config.get("parse_service") + "/parse.php?format=&kw=" + keyword;
    if (highDefinition)
        query += "&flag=one&format=real";
    return query;
}

// The searches run on the UTF-8 text itself (a character never matches inside another one),
// and the offsets the window counts in characters are stepped over only where they apply,
// so a large page is read once.

std::optional<std::string> scrapeTitle(std::string_view page)
{
    // a = "</strong>", b = "<strong>" from a + 8; the title is characters a + 8 to b - 1.
    const size_t a = page.find("</strong>");
    if (a == std::string_view::npos)
        return std::nullopt;
    const size_t start = advance(page, a, 8);
    const size_t b = page.find("<strong>", start);
    if (b == std::string_view::npos)
        return std::nullopt;
    return vb::Mid(trimmedSlice(page, start, b), 8, 500);
}

std::optional<std::string> scrapeAddress(std::string_view page)
{
    // p = "下载地址", q = "false;" from p + 8; the text is characters p + 8 to q (its "f"),
    // which is then completed to "false;".
    const size_t p = page.find("下载地址");
    if (p == std::string_view::npos)
        return std::nullopt;
    const size_t start = advance(page, p, 8);
    const size_t q = page.find("false;", start);
    if (q == std::string_view::npos)
        return std::nullopt;
    return vb::Mid(trimmedSlice(page, start, q + 1) + "alse;", 10, 500);
}

bool offersHighDefinition(std::string_view page)
{
    // r = "<B>", s = "</B>" from r + 8; the mark is characters r + 8 to s.
    const size_t r = page.find("<B>");
    if (r == std::string_view::npos)
        return false;
    const size_t start = advance(page, r, 8);
    const size_t s = page.find("</B>", start);
    if (s == std::string_view::npos)
        return false;
    return vb::Left(trimmedSlice(page, start, s + 1), 2) == "解析";
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
            for (const char ch : bytes)
                code = code << 8 | static_cast<unsigned char>(ch);
        }
        unsigned leading = code;
        while (leading >= 0x10)
            leading >>= 4;
        if (leading >= 0xB)
            sign = true;
    }
    return sign;
}

std::vector<std::string> segmentAddresses(std::string_view links)
{
    // A link address longer than this is a segment address.
    constexpr int kSegmentAddressLength = 120;
    std::vector<std::string> segments;
    size_t start = 0;
    while (start < links.size()) {
        size_t end = links.find("\r\n", start);
        if (end == std::string_view::npos)
            end = links.size();
        std::string piece = vb::Trim(links.substr(start, end - start));
        if (vb::Len(piece) > kSegmentAddressLength)
            segments.push_back(std::move(piece));
        start = end + 2;
    }
    return segments;
}

std::string previewPiece(int number)
{
    return std::string(resources::get("video/youj" + std::to_string(number) + ".htm"));
}

std::string previewPage(std::string_view piece1, std::string_view highDefinition, std::string_view piece2,
    std::string_view normal, std::string_view piece3)
{
    // Sound: each address is escaped for the href it is written into, and the href is closed
    // after it; the single quote that opens the next piece then closes an empty title, so
    // both links work and an address cannot break out of its attribute.
    const auto link
        = [](std::string_view address) { return common::pages::escapeAttribute(address) + "\" title='"; };
    std::string page(piece1);
    page += link(highDefinition);
    page += piece2;
    page += link(normal);
    page += piece3;
    return page;
}

std::string usageNotes()
{
    return vb::Replace(resources::get("video/usage.txt"), "\n", "\r\n");
}

} // namespace video
