// Fuzz target: bytes decoded by a character set name, as fetched pages and text files are,
// and the text encoded back. The first input byte picks the character set.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codec.h"

namespace {

bool wellFormedUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const charsets[]
        = { "UTF-8", "GBK", "GB2312", "gb18030", "BIG5", "UTF-16LE", "unicode", "no-such-set" };
    const std::string charset = charsets[data[0] & 7];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto decoded = platform::tryDecode(bytes, charset);
    const std::string text = decoded ? *decoded : std::string();
    if (decoded.ok() != platform::charsetKnown(charset) || !wellFormedUtf8(text))
        __builtin_trap();
    const auto encoded = platform::tryEncode(text, charset);
    const bool ok = encoded.ok();
    if (ok && platform::representable(text, charset) && platform::decode(*encoded, charset) != text)
        __builtin_trap();
    // The byte-keeping decode of the code pages text files are kept in gives back exactly the
    // bytes it read (BIG5 is left out: some of its codes decode to the same character).
    const bool filePage = (data[0] & 7) <= 2;
    if (ok && filePage
        && platform::encodeKeepingBytes(platform::decodeKeepingBytes(bytes, charset), charset) != bytes)
        __builtin_trap();
    return 0;
}
