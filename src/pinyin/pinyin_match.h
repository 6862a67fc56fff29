#pragma once
// Finding Chinese names by what a person types for them: full pinyin ("qingtian" finds 晴天),
// initials ("zjl" finds 周杰伦) or both mixed ("zhoujl"), without tones or spaces, by any
// reading of a character with several; and characters typed in traditional or simplified
// form alike (周杰倫 finds 周杰伦).
#include <string>
#include <string_view>

namespace pinyin {

class Matcher {
public:
    // The text typed. Spaces in it are left out; letters may be of either case.
    explicit Matcher(std::string_view typed);
    // Whether some run of the name's characters spells the typed text: each Chinese character
    // by a beginning of one of its readings or by itself in either form, every other character
    // by itself (spaces of the name are passed over). An empty text matches nothing.
    bool matches(std::string_view name) const;

private:
    std::u32string m_typed;
};

} // namespace pinyin
