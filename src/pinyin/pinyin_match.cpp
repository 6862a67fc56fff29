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
// A unit with this bit holds the index of a table entry; without it, a character as it is.
constexpr uint32_t kTableEntry = 0x80000000u;
// The matcher keeps one bit per typed length in 64 bits.
constexpr size_t kLongestTyped = 63;

char32_t lower(char32_t c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

// Appends the units of a name's characters (spaces left out); returns whether the name is
// plain: well-formed, with no space and no character that may be Chinese.
bool appendUnits(std::string_view name, std::vector<uint32_t>& units)
{
    bool plain = true;
    for (size_t i = 0; i < name.size();) {
        bool wellFormed = true;
        const char32_t c = vb::decodeUtf8(name, i, &wellFormed);
        plain = plain && wellFormed && c != ' ' && c < kFirstCjk;
        if (c == ' ')
            continue;
        const table::Char* ch = c >= kFirstCjk ? charOf(c) : nullptr;
        units.push_back(
            ch ? kTableEntry | static_cast<uint32_t>(ch - table::kChars) : static_cast<uint32_t>(c));
    }
    return plain;
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
    const bool plain = std::all_of(m_typed.begin(), m_typed.end(), [](char32_t c) { return c < kFirstCjk; });
    if (plain && !m_typed.empty() && m_typed.size() <= kLongestTyped) {
        for (char32_t c : m_typed)
            vb::appendUtf8(m_plain, c);
    }
}

bool Matcher::matches(std::string_view name) const
{
    std::vector<uint32_t> units;
    appendUnits(name, units);
    return matchesUnits(units.data(), units.size());
}

bool Matcher::matchesUnits(const uint32_t* units, size_t count) const
{
    // Which beginnings of the typed text the characters so far can spell, one bit per length;
    // every character may also start a new run (bit 0).
    const size_t m = m_typed.size();
    if (m == 0 || m > kLongestTyped)
        return false;
    const uint64_t whole = uint64_t(1) << m;
    uint64_t reach = 1;
    for (size_t i = 0; i < count; ++i) {
        const table::Char* ch = units[i] & kTableEntry ? &table::kChars[units[i] & ~kTableEntry] : nullptr;
        const char32_t form = ch ? ch->simplified : units[i];
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

NameIndex::NameIndex(const std::vector<std::string>& names)
{
    m_start.reserve(names.size() + 1);
    m_start.push_back(0);
    for (const std::string& name : names) {
        const size_t before = m_units.size();
        if (appendUnits(name, m_units))
            m_units.resize(before);
        m_start.push_back(static_cast<uint32_t>(m_units.size()));
    }
}

bool NameIndex::matches(const Matcher& typed, size_t i, std::string_view name) const
{
    if (i + 1 >= m_start.size())
        return typed.matches(name);
    const uint32_t begin = m_start[i];
    const uint32_t end = m_start[i + 1];
    // A plain name holds its characters one for one, without spaces: the typed text (also
    // without spaces) spells it only as a run of its bytes.
    if (begin == end)
        return !typed.m_plain.empty() && name.find(typed.m_plain) != std::string_view::npos;
    return typed.matchesUnits(m_units.data() + begin, end - begin);
}

} // namespace pinyin
