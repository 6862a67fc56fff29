#include "runtime/vbtext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vb {

namespace {

bool isAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string_view asciiSub(std::string_view s, int start0, int count)
{
    const int len = static_cast<int>(s.size());
    start0 = std::clamp(start0, 0, len);
    count = std::clamp(count, 0, len - start0);
    return s.substr(static_cast<size_t>(start0), static_cast<size_t>(count));
}

} // namespace

char32_t decodeUtf8(std::string_view s, size_t& i, bool* wellFormed)
{
    if (wellFormed)
        *wellFormed = false;
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        if (wellFormed)
            *wellFormed = true;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
        minimum = 0x10000;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<size_t>(extra) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<size_t>(extra) + 1;
    if (wellFormed)
        *wellFormed = true;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u16string toUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        char32_t cp = decodeUtf8(s, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size() * 3);
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return out;
}

int Len(std::string_view s)
{
    int n = 0;
    size_t i = 0;
    while (i < s.size()) {
        n += decodeUtf8(s, i) >= 0x10000 ? 2 : 1;
    }
    return n;
}

std::string Mid(std::string_view s, int start, int length)
{
    if (start < 1)
        start = 1;
    if (isAscii(s))
        return std::string(asciiSub(s, start - 1, length < 0 ? std::numeric_limits<int>::max() : length));
    const std::u16string u = toUtf16(s);
    const int n = static_cast<int>(u.size());
    const int from = std::min(start - 1, n);
    const int count = length < 0 ? n - from : std::min(length, n - from);
    return toUtf8(std::u16string_view(u).substr(static_cast<size_t>(from), static_cast<size_t>(count)));
}

std::string Left(std::string_view s, int n)
{
    return Mid(s, 1, std::max(n, 0));
}

std::string Right(std::string_view s, int n)
{
    const int len = Len(s);
    n = std::clamp(n, 0, len);
    return Mid(s, len - n + 1, n);
}

int InStr(std::string_view s, std::string_view what, int start)
{
    if (start < 1)
        start = 1;
    if (isAscii(s) && isAscii(what)) {
        if (start > static_cast<int>(s.size()) + 1)
            return 0;
        const auto pos = s.find(what, static_cast<size_t>(start - 1));
        return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
    }
    const std::u16string u = toUtf16(s);
    const std::u16string w = toUtf16(what);
    if (start > static_cast<int>(u.size()) + 1)
        return 0;
    const auto pos = u.find(w, static_cast<size_t>(start - 1));
    return pos == std::u16string::npos ? 0 : static_cast<int>(pos) + 1;
}

int InStrRev(std::string_view s, std::string_view what)
{
    const std::u16string u = toUtf16(s);
    const std::u16string w = toUtf16(what);
    const auto pos = u.rfind(w);
    return pos == std::u16string::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string UCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string LCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string LTrim(std::string_view s)
{
    const auto p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

std::string RTrim(std::string_view s)
{
    const auto p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p + 1));
}

std::string Trim(std::string_view s)
{
    return LTrim(RTrim(s));
}

std::string Replace(std::string_view s, std::string_view what, std::string_view with)
{
    if (what.empty())
        return std::string(s);
    // Byte search is safe on UTF-8: a valid sequence never matches inside another one.
    std::string out;
    out.reserve(s.size());
    size_t from = 0;
    for (;;) {
        const auto pos = s.find(what, from);
        if (pos == std::string_view::npos)
            break;
        out.append(s.substr(from, pos - from));
        out.append(with);
        from = pos + what.size();
    }
    out.append(s.substr(from));
    return out;
}

namespace {

// The digits of a &H literal from i on (at most 16 of them).
double hexValue(std::string_view s, size_t i)
{
    int64_t v = 0;
    int digits = 0;
    while (i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i])) && digits < 16) {
        const char c = s[i++];
        v = v * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
        ++digits;
    }
    // Short hexadecimal literals are 16- or 32-bit signed values.
    if (digits <= 4 && v > 0x7FFF)
        v -= 0x10000;
    else if (digits <= 8 && v > 0x7FFFFFFF)
        v -= 0x100000000LL;
    return static_cast<double>(v);
}

// A decimal number from i on: a sign, digits and one point, blanks inside skipped; 0 without
// a digit.
double decimalValue(std::string_view s, size_t i)
{
    std::string digits;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        digits += s[i++];
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else if (c != ' ' && c != '\t') {
            break; // blanks inside a number are skipped
        }
    }
    if (!seenDigit)
        return 0.0;
    return std::strtod(digits.c_str(), nullptr);
}

} // namespace

double Val(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n'))
        ++i;
    if (i + 1 < s.size() && s[i] == '&' && (s[i + 1] == 'H' || s[i + 1] == 'h'))
        return hexValue(s, i + 2);
    return decimalValue(s, i);
}

int64_t bankersRound(double x)
{
    if (!std::isfinite(x))
        return 0;
    return static_cast<int64_t>(std::nearbyint(x)); // default rounding mode: half to even
}

std::string Format00(double x)
{
    if (!std::isfinite(x))
        return "0.00";
    // Round the decimal text of x (15 significant digits, as the number prints), not its
    // binary value, so that 1.005 gives "1.01".
    const double magnitude = std::fabs(x);
    const int intDigits = magnitude < 1 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int decimals = std::clamp(15 - intDigits, 2, 20);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, magnitude);
    std::string digits = buf;
    const size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string frac = digits.substr(point + 1);
    const bool up = frac.size() > 2 && frac[2] >= '5';
    std::string kept = whole + frac.substr(0, 2);
    if (up) {
        // Carries the rounding up through the nines; all nines take a leading 1.
        auto digit = kept.rbegin();
        for (; digit != kept.rend() && *digit == '9'; ++digit)
            *digit = '0';
        if (digit == kept.rend())
            kept.insert(kept.begin(), '1');
        else
            ++*digit;
    }
    std::string out = kept.substr(0, kept.size() - 2) + "." + kept.substr(kept.size() - 2);
    if (x < 0 && out.find_first_not_of("0.") != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

std::string Hex(int64_t value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(static_cast<uint32_t>(value)));
    return buf;
}

std::string Str(int64_t value)
{
    return std::to_string(value);
}

int64_t toLong(std::string_view s)
{
    const double v = Val(Trim(s));
    const int64_t r = bankersRound(v);
    return std::clamp<int64_t>(r, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

std::optional<int64_t> tryLong(std::string_view s)
{
    if (s.find_first_of("0123456789") == std::string_view::npos)
        return std::nullopt;
    return toLong(s);
}

} // namespace vb
