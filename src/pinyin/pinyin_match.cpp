#include "pinyin/pinyin_match.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "pinyin/pinyin_table.h"
#include "runtime/vbtext.h"

namespace pinyin {

namespace {

// The table's entry of a character, or nullptr. Characters of the basic plane are found
// through an index made on first use; the rare ones beyond by a binary search.
const table::Char* charOf(char32_t c)
{
    static const std::vector<uint16_t> basic = [] {
        std::vector<uint16_t> index(0x10000);
        for (size_t i = 0; i < table::kCharCount && table::kChars[i].code < 0x10000; ++i)
            index[table::kChars[i].code] = static_cast<uint16_t>(i + 1);
        return index;
    }();
    if (c < 0x10000)
        return basic[c] ? &table::kChars[basic[c] - 1] : nullptr;
    const table::Char* end = table::kChars + table::kCharCount;
    const table::Char* found = std::lower_bound(
        table::kChars, end, c, [](const table::Char& ch, char32_t code) { return ch.code < code; });
    return found != end && found->code == c ? found : nullptr;
}

// Characters below this are never Chinese.
constexpr char32_t kFirstCjk = 0x2E80;

char32_t lower(char32_t c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

} // namespace

Matcher::Matcher(std::string_view typed)
{
    for (size_t i = 0; i < typed.size();) {
        const char32_t c = vb::decodeUtf8(typed, i);
        if (c == ' ')
            continue;
        const table::Char* ch = c >= kFirstCjk ? charOf(c) : nullptr;
        m_typed += ch ? ch->simplified : c;
    }
}

bool Matcher::matches(std::string_view name) const
{
    // Which beginnings of the typed text the characters so far can spell, one bit per length;
    // every character may also start a new run (bit 0).
    const size_t m = m_typed.size();
    if (m == 0 || m >= 64)
        return false;
    const uint64_t whole = uint64_t(1) << m;
    uint64_t reach = 1;
    for (size_t i = 0; i < name.size();) {
        const char32_t c = vb::decodeUtf8(name, i);
        if (c == ' ')
            continue;
        const table::Char* ch = c >= kFirstCjk ? charOf(c) : nullptr;
        const char32_t form = ch ? ch->simplified : c;
        uint64_t next = 0;
        for (uint64_t left = reach; left; left &= left - 1) {
            const size_t p = static_cast<size_t>(std::countr_zero(left));
            if (m_typed[p] == form)
                next |= uint64_t(2) << p;
            if (!ch)
                continue;
            // A reading spells the typed letters from p on for as long as they agree.
            for (uint32_t r = ch->first; r < ch->first + ch->count; ++r) {
                const char* syllable = table::kSyllables[table::kReadings[r]];
                for (size_t k = 0; syllable[k] && p + k < m && lower(m_typed[p + k]) == char32_t(syllable[k]);
                     ++k)
                    next |= uint64_t(2) << (p + k);
            }
        }
        if (next & whole)
            return true;
        reach = next | 1;
    }
    return false;
}

} // namespace pinyin
