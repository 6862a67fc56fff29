#include "platform/charset_detect.h"

#include <algorithm>

#include "platform/codec.h"

namespace platform {

namespace {

// How the bytes read in a double-byte Chinese character set: the number of characters of two
// or more bytes, how common they are (3 for each of the most used ideographs, 1 for the other
// ideographs of the main set and for punctuation, 0 for the rare extensions), and the number
// of bytes that break the set's rules.
struct Reading {
    int wide = 0;
    int score = 0;
    int broken = 0;
    // The reading with a broken byte weighing as much as a few characters.
    [[nodiscard]] int weight() const { return score - 4 * broken; }
};

bool within(int b, int low, int high)
{
    return b >= low && b <= high;
}

// The byte at i, or 0 past the end.
int byteAt(std::string_view s, size_t i)
{
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

// One character at the start of some bytes in a double-byte set: how many bytes it takes (0
// when its first byte breaks the set's rules) and how common it is.
struct Unit {
    size_t length = 0;
    int score = 0;
};

// Reads the bytes through a set's unit reader; a byte below 0x80 is ASCII in every such set.
template <class ReadUnit> Reading readDoubleByte(std::string_view s, ReadUnit readUnit)
{
    Reading r;
    size_t i = 0;
    while (i < s.size()) {
        if (byteAt(s, i) < 0x80) {
            ++i;
            continue;
        }
        const Unit unit = readUnit(s.substr(i));
        if (unit.length == 0) {
            ++r.broken;
            ++i;
            continue;
        }
        ++r.wide;
        r.score += unit.score;
        i += unit.length;
    }
    return r;
}

Unit gb18030Unit(std::string_view s)
{
    const int b0 = byteAt(s, 0);
    const int b1 = byteAt(s, 1);
    if (within(b0, 0x81, 0xFE) && within(b1, 0x30, 0x39) && within(byteAt(s, 2), 0x81, 0xFE)
        && within(byteAt(s, 3), 0x30, 0x39))
        return { 4, 0 };
    if (!within(b0, 0x81, 0xFE) || !within(b1, 0x40, 0xFE) || b1 == 0x7F)
        return {};
    // GB2312's first level holds the 3755 most used characters, its second the rest of its
    // ideographs; A1 to A9 are its punctuation, full-width forms and kana.
    if (b1 >= 0xA1 && within(b0, 0xB0, 0xD7))
        return { 2, 3 };
    if (b1 >= 0xA1 && (within(b0, 0xD8, 0xF7) || within(b0, 0xA1, 0xA9)))
        return { 2, 1 };
    return { 2, 0 };
}

Unit big5Unit(std::string_view s)
{
    const int b0 = byteAt(s, 0);
    const int b1 = byteAt(s, 1);
    const int code = b0 << 8 | b1;
    // C6A1 to C8FE are reserved: the system's converter does not read them.
    if (!within(b0, 0xA1, 0xF9) || !(within(b1, 0x40, 0x7E) || within(b1, 0xA1, 0xFE))
        || within(code, 0xC6A1, 0xC8FE))
        return {};
    // Big5's first level holds the 5401 most used characters, its second the others; A140 to
    // A3BF are its punctuation and symbols.
    if (within(code, 0xA440, 0xC67E))
        return { 2, 3 };
    if (within(code, 0xC940, 0xF9D5) || within(code, 0xA140, 0xA3BF))
        return { 2, 1 };
    return { 2, 0 };
}

// GB18030 or Big5 for bytes that are not UTF-8, with how they read in it.
std::pair<const char*, Reading> likelierChinese(std::string_view bytes)
{
    const Reading gb = readDoubleByte(bytes, gb18030Unit);
    const Reading big5 = readDoubleByte(bytes, big5Unit);
    if (big5.weight() > gb.weight())
        return { "BIG5", big5 };
    return { "GB18030", gb };
}

// UTF-16 without a byte-order mark: text with ASCII characters (line ends, time tags,
// numbers) has a zero byte in one half of many units and almost never in the other.
const char* utf16ByZeros(std::string_view bytes)
{
    const size_t n = std::min<size_t>(bytes.size(), 8192) & ~size_t(1);
    if (n < 4)
        return nullptr;
    size_t even = 0;
    size_t odd = 0;
    for (size_t i = 0; i < n; i += 2) {
        even += bytes[i] == '\0';
        odd += bytes[i + 1] == '\0';
    }
    const size_t units = n / 2;
    if (odd * 4 >= units && even * 8 <= odd)
        return "UTF-16LE";
    if (even * 4 >= units && odd * 8 <= even)
        return "UTF-16BE";
    return nullptr;
}

// The length of the byte-order mark at the start of the bytes, with its character set.
std::pair<size_t, const char*> byteOrderMark(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return { 3, "UTF-8" };
    if (bytes.starts_with("\xFF\xFE"))
        return { 2, "UTF-16LE" };
    if (bytes.starts_with("\xFE\xFF"))
        return { 2, "UTF-16BE" };
    return { 0, nullptr };
}

} // namespace

std::string detectCharset(std::string_view bytes)
{
    if (const auto mark = byteOrderMark(bytes); mark.second)
        return mark.second;
    if (const char* utf16 = utf16ByZeros(bytes))
        return utf16;
    if (wellFormedUtf8(bytes))
        return "UTF-8";
    return likelierChinese(bytes).first;
}

std::string decodeDetected(std::string_view bytes)
{
    const std::string charset = detectCharset(bytes);
    bytes.remove_prefix(byteOrderMark(bytes).first);
    return decode(bytes, charset);
}

std::string decodeSingleByteField(std::string_view bytes)
{
    if (std::none_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; }))
        return std::string(bytes);
    const auto [charset, reading] = likelierChinese(bytes);
    // Chinese only when every byte fits and the characters are mostly common ones: Latin-1
    // names ("Björk", "Mötley Crüe") read as rare extension characters, if at all.
    if (reading.broken == 0 && reading.wide > 0 && reading.score * 2 >= reading.wide * 3)
        return decode(bytes, charset);
    return decode(bytes, "ISO-8859-1");
}

} // namespace platform
