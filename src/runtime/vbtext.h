#pragma once
// String and number helpers in the terms the windows are written in. Strings are UTF-8;
// lengths and positions count UTF-16 code units, so a Chinese character counts as one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::u16string toUtf16(std::string_view s);
// UTF-16 to UTF-8; a lone surrogate is written as its 3-byte form.
std::string toUtf8(std::u16string_view s);
// Decodes the UTF-8 sequence at s[i] and moves i past it. A malformed, truncated or overlong
// sequence gives U+FFFD and moves one byte; wellFormed (when given) says which happened.
char32_t decodeUtf8(std::string_view s, size_t& i, bool* wellFormed = nullptr);
// Appends the UTF-8 form of a code point (a surrogate in its 3-byte form).
void appendUtf8(std::string& out, char32_t cp);

// Number of UTF-16 code units.
int Len(std::string_view s);
// The first n units (n < 0 counts as 0).
std::string Left(std::string_view s, int n);
// The last n units.
std::string Right(std::string_view s, int n);
// From 1-based position start, length units (length < 0: to the end).
std::string Mid(std::string_view s, int start, int length = -1);
// 1-based position of what in s at or after start, 0 when absent; an empty `what` gives start.
int InStr(std::string_view s, std::string_view what, int start = 1);
// 1-based position of the last occurrence, 0 when absent.
int InStrRev(std::string_view s, std::string_view what);
// ASCII letters upper- and lower-cased; everything else unchanged.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// Leading and trailing blanks (U+0020) removed.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// Every occurrence of what replaced by with, left to right, non-overlapping.
std::string Replace(std::string_view s, std::string_view what, std::string_view with);
// The leading number of s: blanks skipped, optional sign, digits and one decimal point,
// "&H" hexadecimal; 0 when there is none.
double Val(std::string_view s);
// Round half to even, as the language's integer conversion does.
int64_t bankersRound(double x);
// Formats x with exactly two decimals, rounding half away from zero ("0.00").
std::string Format00(double x);
// Upper-case hexadecimal text of a 32-bit value (negative values as two's complement).
std::string Hex(int64_t value);
// Whole number as decimal text.
std::string Str(int64_t value);
// Text to a 32-bit colour or other whole number: the rounded Val, clamped to 32 bits (0 when
// the text holds no number).
int64_t toLong(std::string_view s);
// The same number, or nothing when the text holds no digit at all.
std::optional<int64_t> tryLong(std::string_view s);

} // namespace vb
