#include "common/page_helpers.h"

#include <utility>

#include "platform/codec.h"
#include "platform/config.h"
#include "platform/network.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace common {

namespace {

// Length of the well-formed UTF-8 sequence at s[i] (a surrogate's 3-byte form counts as
// well-formed: it is one UTF-16 code unit of its own), 0 when the bytes there are not one.
size_t sequenceLength(std::string_view s, size_t i)
{
    size_t next = i;
    bool wellFormed = false;
    vb::decodeUtf8(s, next, &wellFormed);
    return wellFormed ? next - i : 0;
}

bool isUtf8Name(const std::string& name)
{
    std::string low;
    for (char c : name) {
        if (c != ' ')
            low += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return low == "utf-8" || low == "utf8";
}

void appendEscape(std::string& out, unsigned char byte)
{
    static const char hex[] = "0123456789ABCDEF";
    const char escape[3] = { '%', hex[byte >> 4], hex[byte & 15] };
    out.append(escape, 3);
}

} // namespace

std::string getHTTPPage(platform::Network& network, const std::string& URL, const std::string& Cset)
{
    const platform::HttpResponse response = network.get(URL);
    if (!response.completed)
        return {};
    // A character set the converter does not know gives no page, as no connection does.
    return BytesToBstr(response.body, Cset).valueOr({});
}

std::string getHTTPPage(runtime::App& app, const std::string& URL, const std::string& Cset)
{
    return getHTTPPage(app.service<platform::Network>(), URL, Cset);
}

platform::Result<std::string> BytesToBstr(std::string_view body, const std::string& Cset)
{
    // A UTF-8 byte order mark is not part of the text (the stream converter skips it too).
    if (isUtf8Name(Cset) && body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    return platform::tryDecode(body, Cset);
}

std::string UTF8EncodeURI(std::string_view szInput)
{
    std::string out;
    out.reserve(szInput.size() * 3);
    size_t i = 0;
    while (i < szInput.size()) {
        const auto c = static_cast<unsigned char>(szInput[i]);
        if (c < 0x80) {
            // Letters, digits, blanks and punctuation ("&", "=", "?", "%", "+") stay as they are.
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // Escaping the bytes of a well-formed sequence is the same as escaping the UTF-8 form
        // of its code unit (or, for a 4-byte sequence, of the character its pair stands for).
        const size_t length = sequenceLength(szInput, i);
        if (length == 0) {
            // U+FFFD, the replacement character.
            static constexpr unsigned char kReplacement[] = { 0xEF, 0xBF, 0xBD };
            for (const unsigned char b : kReplacement)
                appendEscape(out, b);
            ++i;
            continue;
        }
        for (size_t k = 0; k < length; ++k)
            appendEscape(out, static_cast<unsigned char>(szInput[i + k]));
        i += length;
    }
    return out;
}

bool internetConnected(runtime::App& app)
{
    return app.service<platform::Network>().checkConnection(app.service<platform::Config>().get("probe"));
}

} // namespace common
