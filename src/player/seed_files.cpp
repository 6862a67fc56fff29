#include "player/seed_files.h"

#include "platform/codec.h"
#include "platform/textfile.h"
#include "runtime/vbtext.h"

namespace player::seeds {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Skips the separator after a field: a comma, or a line end (CR LF counts once).
size_t skipSeparator(std::string_view text, size_t i)
{
    if (i >= text.size())
        return i;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        return i + 2;
    return i + 1;
}

// Where the field running from i ends: at its separator, a line end or the end of the text.
size_t fieldEnd(std::string_view text, size_t i)
{
    while (i < text.size() && text[i] != ',' && !isLineEnd(text[i]))
        ++i;
    return i;
}

} // namespace

std::string joinFreeFormFields(std::string_view text)
{
    std::string joined;
    joined.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i < text.size() && text[i] == '"') {
            const size_t close = text.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? text.size() : close;
            joined.append(text.substr(i + 1, end - i - 1));
            // Whatever follows the closing quote up to the separator is not part of the field.
            i = fieldEnd(text, end == text.size() ? end : end + 1);
        } else {
            const size_t start = i;
            i = fieldEnd(text, i);
            size_t end = i;
            while (end > start && isBlank(text[end - 1]))
                --end;
            joined.append(text.substr(start, end - start));
        }
        i = skipSeparator(text, i);
    }
    return joined;
}

std::u16string narrowFullWidth(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= 0xFF01 && c <= 0xFF5E)
            c = static_cast<char16_t>(c - 0xFEE0);
        else if (c == 0x3000)
            c = u' ';
    }
    return out;
}

namespace {

std::u16string readUnicode16(const std::string& path)
{
    const auto read = platform::readFile(path, kMaxSeedBytes);
    if (!read || read->size() <= 2)
        return {};
    const std::string& bytes = *read;
    std::u16string text((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 + 2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[3 + 2 * i]);
        text[i] = static_cast<char16_t>(lo | (hi << 8));
    }
    return narrowFullWidth(text);
}

} // namespace

std::string ReadUnicodeTextFile(const std::string& path)
{
    return vb::toUtf8(readUnicode16(path));
}

std::optional<std::string> qsedLink(std::string_view joined)
{
    // The markers are plain ASCII, so byte positions mark the same range as characters.
    static constexpr std::string_view kRef = "<ref href=";
    const size_t ref = joined.find(kRef);
    const size_t close = joined.find("/>");
    if (ref == std::string_view::npos || close == std::string_view::npos)
        return std::nullopt;
    const size_t p = ref + kRef.size();
    if (close < p)
        return std::nullopt;
    const std::string s(joined.substr(p, close - p));
    const int length = vb::Len(s);
    if (length < 2)
        return std::nullopt;
    return vb::Mid(s, 2, length - 2);
}

namespace {

std::optional<std::u16string> bsedLink16(std::u16string_view text)
{
    static constexpr std::u16string_view kKey = u"seeds_href";
    const size_t key = text.find(kKey);
    const size_t close = text.find(u'}');
    if (key == std::u16string_view::npos || close == std::u16string_view::npos)
        return std::nullopt;
    // The key and the one character after it.
    const size_t p = key + kKey.size() + 1;
    if (close < p)
        return std::nullopt;
    const std::u16string_view s = text.substr(p, close - p);
    if (s.size() < 17)
        return std::nullopt;
    return std::u16string(s.substr(10, s.size() - 17));
}

} // namespace

std::optional<std::string> bsedLink(std::string_view text)
{
    const auto link = bsedLink16(vb::toUtf16(text));
    return link ? std::optional<std::string>(vb::toUtf8(*link)) : std::nullopt;
}

std::optional<std::string> readQsedLink(const std::string& path, const std::string& codePage)
{
    auto read = platform::readFile(path, kMaxSeedBytes);
    if (!read)
        return std::nullopt;
    std::string bytes = std::move(*read);
    // A code page this system does not know reads as UTF-8 rather than as nothing.
    auto decoded = platform::tryDecode(bytes, codePage);
    std::string text = decoded ? std::move(*decoded) : platform::decode(bytes, "UTF-8");
    bytes.clear();
    bytes.shrink_to_fit();
    return qsedLink(joinFreeFormFields(text));
}

std::optional<std::string> readBsedLink(const std::string& path)
{
    const auto link = bsedLink16(readUnicode16(path));
    return link ? std::optional<std::string>(vb::toUtf8(*link)) : std::nullopt;
}

} // namespace player::seeds
