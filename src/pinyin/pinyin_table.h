#pragma once
// The table of character readings, generated at build time from Debian's data packages.
#include <cstddef>
#include <cstdint>

namespace pinyin::table {

// A character with its readings (toneless pinyin, kReadings[first] onwards) and its simplified
// form (itself when it has none of its own).
struct Char {
    char32_t code;
    char32_t simplified;
    uint32_t first;
    uint8_t count;
};

// Syllables in alphabetical order.
extern const char* const kSyllables[];
extern const size_t kSyllableCount;
// Indexes into kSyllables.
extern const uint16_t kReadings[];
// Ordered by code.
extern const Char kChars[];
extern const size_t kCharCount;

} // namespace pinyin::table
