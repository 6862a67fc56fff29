#pragma once
// Finding Chinese names by what a person types for them: full pinyin ("qingtian" finds 晴天),
// initials ("zjl" finds 周杰伦) or both mixed ("zhoujl"), without tones or spaces, by any
// reading of a character with several; and characters typed in traditional or simplified
// form alike (周杰倫 finds 周杰伦).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pinyin {

class Matcher {
public:
    // The text typed. Spaces in it are left out; letters may be of either case.
    explicit Matcher(std::string_view typed);
    // Whether some run of the name's characters spells the typed text: each Chinese character
    // by a beginning of one of its readings or by itself in either form, every other character
    // by itself (spaces of the name are passed over). An empty text matches nothing.
    [[nodiscard]] bool matches(std::string_view name) const;

private:
    friend class NameIndex;
    // Over a name's characters as NameIndex keeps them.
    bool matchesUnits(const uint32_t* units, size_t count) const;

    std::u32string m_typed;
    // The typed text as UTF-8 when a name of plain characters can spell it (it holds no
    // Chinese character and is of a length the matcher takes), else empty.
    std::string m_plain;
};

// A list of names prepared once for the keystrokes of a search: the Chinese characters of
// each name are looked up in the table ahead, and a name with neither Chinese characters nor
// spaces is kept as a mere flag (the typed text spells it only as a run of its bytes).
class NameIndex {
public:
    NameIndex() = default;
    explicit NameIndex(const std::vector<std::string>& names);
    // Matcher::matches for name i of the list it was made from (whose text is `name`).
    [[nodiscard]] bool matches(const Matcher& typed, size_t i, std::string_view name) const;

private:
    // The characters of name i are m_units[m_start[i] .. m_start[i + 1]); none for a plain one.
    std::vector<uint32_t> m_start;
    std::vector<uint32_t> m_units;
};

} // namespace pinyin
