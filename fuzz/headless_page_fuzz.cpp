// Fuzz target: a web page as the headless browser reads it. The first input byte picks the
// Content-Type header and the fallback character set; the rest is the page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/headless_charset.h"
#include "platform/headless_html.h"
#include "platform/headless_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const contentTypes[] = { "", "text/html", "text/html; charset=gb2312",
        "text/html;charset=\"utf-8\"", "text/html; charset=", "text/html; charset=big5",
        "text/html; charset=utf-16le", "charset=nonsense" };
    static const char* const fallbacks[] = { "UTF-8", "GBK", "GB2312", "no-such-set" };
    const std::string contentType = contentTypes[data[0] & 7];
    const std::string fallback = fallbacks[(data[0] >> 3) & 3];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string text = platform::decodePage(bytes, contentType, fallback);
    const platform::PageParser parser
        = (data[0] & 0x80) ? platform::PageParser::Scan : platform::PageParser::Tree;
    const platform::PageContent page = platform::parsePage(text, "http://fuzz.example/a/b.html?q=1", parser);
    if (page.links.size() != page.linkTargets.size())
        __builtin_trap();
    // An address with a scheme is final: resolving it again changes nothing.
    for (const auto& link : page.links) {
        if (!platform::addressScheme(link.href).empty()
            && platform::resolveAddress("http://other.example/", link.href) != link.href)
            __builtin_trap();
    }
    return 0;
}
