#include "platform/codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/posix/iconv_converter.h"
#include "runtime/vbtext.h"

namespace platform {

namespace {

// Browsers read the GB2312 label as GBK (its superset); so do we.
std::string canonical(const std::string& charset)
{
    std::string upper;
    for (char c : charset) {
        if (c != ' ')
            upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (upper == "GB2312" || upper == "GB_2312-80" || upper == "X-GBK" || upper == "CP936" || upper == "936")
        return "GBK";
    if (upper == "UTF8")
        return "UTF-8";
    if (upper == "UNICODE")
        return "UTF-16LE";
    return upper;
}

bool isUtf8(const std::string& c)
{
    return c == "UTF-8";
}

// The end of the run of ASCII bytes that starts at i, eight bytes at a time.
size_t asciiRunEnd(std::string_view s, size_t i)
{
    while (i + 8 <= s.size()) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i;
}

} // namespace

namespace {

// The length of the well-formed sequence of two to four bytes that starts at i, or 0 when
// there is none; with noStandIns, a character of the stand-ins' block (lead bytes F4 8F) is
// not one.
size_t wideSequenceAt(std::string_view s, size_t i, bool noStandIns)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    const size_t extra = b0 >= 0xC2 && b0 <= 0xDF ? 1
        : b0 >= 0xE0 && b0 <= 0xEF                ? 2
        : b0 >= 0xF0 && b0 <= 0xF4                ? 3
                                                  : 0;
    if (extra == 0)
        return 0;
    for (size_t k = 1; k <= extra; ++k) {
        if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if ((b0 == 0xE0 && b1 < 0xA0) || (b0 == 0xED && b1 > 0x9F) || (b0 == 0xF0 && b1 < 0x90)
        || (b0 == 0xF4 && b1 > (noStandIns ? 0x8E : 0x8F)))
        return 0;
    return extra + 1;
}

// Whether s is well-formed UTF-8; with noStandIns, also whether it holds no character of the
// stand-ins' block, so that reading it keeping bytes leaves it as it is.
bool checkUtf8(std::string_view s, bool noStandIns)
{
    size_t i = 0;
    while (i < s.size()) {
        i = asciiRunEnd(s, i);
        if (i >= s.size())
            break;
        const size_t length = wideSequenceAt(s, i, noStandIns);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

} // namespace

bool wellFormedUtf8(std::string_view s)
{
    return checkUtf8(s, false);
}

bool decodesUnchanged(std::string_view bytes, const std::string& charset)
{
    return isUtf8(canonical(charset)) && checkUtf8(bytes, true);
}

namespace {

// Re-encodes UTF-8 through vbtext: invalid bytes become U+FFFD. Well-formed text is taken
// as it is, which is the common case and much faster.
std::string cleanUtf8(std::string_view bytes)
{
    if (wellFormedUtf8(bytes))
        return std::string(bytes);
    return vb::toUtf8(vb::toUtf16(bytes));
}

} // namespace

bool charsetKnown(const std::string& charset)
{
    const std::string c = canonical(charset);
    if (c.empty())
        return false;
    if (isUtf8(c))
        return true;
    IconvConverter cv("UTF-8", c);
    return cv.ok();
}

namespace {

// Length of the UTF-8 sequence that starts with this byte.
size_t sequenceLength(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

} // namespace

namespace {

// Decodes bytes in charset: UTF-8 through utf8, any other charset through iconv, where
// invalid appends what stands for each byte that cannot be decoded (and that byte is skipped).
template <class Utf8, class Invalid>
Result<std::string> decodeBy(std::string_view bytes, const std::string& charset, Utf8 utf8, Invalid invalid)
{
    using Decoded = Result<std::string>;
    const std::string c = canonical(charset);
    if (isUtf8(c))
        return Decoded::success(utf8(bytes));
    IconvConverter cv("UTF-8", c);
    if (c.empty() || !cv.ok())
        return Decoded::failure("unknown character set: " + charset);
    const auto onInvalid = [&invalid](std::string& out, unsigned char byte) -> size_t {
        invalid(out, byte);
        return 1;
    };
    // Every byte that cannot be decoded is skipped with its stand-in, so the conversion
    // always runs to its end.
    std::string out;
    out.reserve(bytes.size() * 3 / 2 + 16);
    if (c != "GBK")
        return cv.run(bytes, std::move(out), onInvalid);
    // GBK pages are mostly ASCII markup: ASCII runs are copied as they are and only the runs
    // of double-byte characters go through the conversion. Every byte from 0x80 up starts a
    // unit (a lead byte with its trail byte, or a lone 0x80 or 0xFF), so a run never ends
    // between a lead byte and its trail.
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t ascii = i;
        i = asciiRunEnd(bytes, i);
        out.append(bytes.data() + ascii, i - ascii);
        const size_t wide = i;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) >= 0x80) {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            i += (lead == 0x80 || lead == 0xFF) ? 1 : 2;
        }
        i = std::min(i, bytes.size());
        if (i == wide)
            continue;
        auto run = cv.run(bytes.substr(wide, i - wide), std::move(out), onInvalid);
        if (!run)
            return run;
        out = std::move(*run);
    }
    return Decoded::success(std::move(out));
}

} // namespace

Result<std::string> tryDecode(std::string_view bytes, const std::string& charset)
{
    // An invalid or truncated sequence: one replacement character for its first byte.
    return decodeBy(
        bytes, charset, cleanUtf8, [](std::string& out, unsigned char) { out += "\xEF\xBF\xBD"; });
}

Result<std::string> tryEncode(std::string_view utf8, const std::string& charset)
{
    using Encoded = Result<std::string>;
    const std::string c = canonical(charset);
    if (isUtf8(c))
        return Encoded::success(cleanUtf8(utf8));
    IconvConverter cv(c, "UTF-8");
    if (c.empty() || !cv.ok())
        return Encoded::failure("unknown character set: " + charset);
    // A character the code page cannot hold becomes '?', as the platform's conversion does.
    const std::string clean = cleanUtf8(utf8);
    std::string out;
    out.reserve(clean.size() + 16);
    return cv.run(clean, std::move(out), [&charset](std::string& text, unsigned char lead) {
        text += encode("?", charset);
        return sequenceLength(lead);
    });
}

namespace {

// Stand-ins for undecodable bytes: U+10FF00 + byte, in UTF-8 F4 8F BC..BF 80..BF.
void appendStandIn(std::string& out, unsigned char byte)
{
    out += '\xF4';
    out += '\x8F';
    out += static_cast<char>(0xBC | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
}

bool isStandIn(std::string_view s, size_t i)
{
    return i + 3 < s.size() && static_cast<unsigned char>(s[i]) == 0xF4
        && static_cast<unsigned char>(s[i + 1]) == 0x8F
        && (static_cast<unsigned char>(s[i + 2]) & 0xFC) == 0xBC
        && (static_cast<unsigned char>(s[i + 3]) & 0xC0) == 0x80;
}

unsigned char standInByte(std::string_view s, size_t i)
{
    return static_cast<unsigned char>(
        ((static_cast<unsigned char>(s[i + 2]) & 0x03) << 6) | (static_cast<unsigned char>(s[i + 3]) & 0x3F));
}

// UTF-8 input: well-formed sequences are kept, every other byte gets its stand-in. A stand-in
// that was already in the text is taken apart into the stand-ins of its bytes, so that
// reading stays one to one.
std::string decodeUtf8KeepingBytes(std::string_view s)
{
    if (checkUtf8(s, true))
        return std::string(s);
    std::string out;
    out.reserve(s.size() + 16);
    size_t i = 0;
    while (i < s.size()) {
        const size_t n = sequenceLength(static_cast<unsigned char>(s[i]));
        if (i + n <= s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80
            && wellFormedUtf8(s.substr(i, n)) && !isStandIn(s, i)) {
            out.append(s.substr(i, n));
            i += n;
            continue;
        }
        const size_t run = isStandIn(s, i) ? 4 : 1;
        for (size_t k = 0; k < run; ++k)
            appendStandIn(out, static_cast<unsigned char>(s[i + k]));
        i += run;
    }
    return out;
}

} // namespace

Result<std::string> tryDecodeKeepingBytes(std::string_view bytes, const std::string& charset)
{
    return decodeBy(bytes, charset, decodeUtf8KeepingBytes, appendStandIn);
}

Result<std::string> tryEncodeKeepingBytes(std::string_view utf8, const std::string& charset)
{
    // Designed: a character the code page cannot hold still becomes '?'; only the stand-ins of
    // bytes that were read come back as those bytes.
    size_t from = 0;
    size_t at = utf8.find("\xF4\x8F");
    if (at == std::string_view::npos)
        return tryEncode(utf8, charset);
    std::string out;
    while (from < utf8.size()) {
        if (at == std::string_view::npos)
            at = utf8.size();
        if (at < utf8.size() && !isStandIn(utf8, at)) {
            at = utf8.find("\xF4\x8F", at + 1);
            continue;
        }
        if (at > from) {
            auto piece = tryEncode(utf8.substr(from, at - from), charset);
            if (!piece)
                return piece;
            out += *piece;
        }
        if (at < utf8.size()) {
            out += static_cast<char>(standInByte(utf8, at));
            at += 4;
        }
        from = at;
        at = utf8.find("\xF4\x8F", from);
    }
    // Designed: a text made only of stand-ins is written without asking whether the charset is
    // known, as it always was.
    return Result<std::string>::success(std::move(out));
}

std::string decode(std::string_view bytes, const std::string& charset)
{
    return tryDecode(bytes, charset).valueOr({});
}

std::string encode(std::string_view utf8, const std::string& charset)
{
    return tryEncode(utf8, charset).valueOr({});
}

std::string decodeKeepingBytes(std::string_view bytes, const std::string& charset)
{
    return tryDecodeKeepingBytes(bytes, charset).valueOr({});
}

std::string encodeKeepingBytes(std::string_view utf8, const std::string& charset)
{
    return tryEncodeKeepingBytes(utf8, charset).valueOr({});
}

bool representable(std::string_view utf8, const std::string& charset)
{
    const std::string c = canonical(charset);
    if (isUtf8(c))
        return true;
    IconvConverter cv(c, "UTF-8");
    if (!cv.ok())
        return false;
    return cv.run(cleanUtf8(utf8), {}, [](std::string&, unsigned char) -> size_t { return 0; }).ok();
}

} // namespace platform
