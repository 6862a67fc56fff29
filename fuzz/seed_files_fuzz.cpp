// Fuzz target: the text of a ".QSED" or ".BSED" seed file as the player reads its link. The
// first input byte picks the reader; the rest is the file's text. A link is a part of the
// text; bytes that are not UTF-8 come out as U+FFFD, three bytes each.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/seed_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        const std::string joined = player::seeds::joinFreeFormFields(text);
        // Joining only removes separators and quotes: it never makes the text longer.
        if (joined.size() > text.size())
            __builtin_trap();
        if (const auto link = player::seeds::qsedLink(joined); link && link->size() > 3 * joined.size())
            __builtin_trap();
    } else {
        if (const auto link = player::seeds::bsedLink(text); link && link->size() > 3 * text.size())
            __builtin_trap();
        std::u16string wide(text.size() / 2, u'\0');
        for (size_t i = 0; i < wide.size(); ++i)
            wide[i] = static_cast<char16_t>(data[1 + 2 * i] | (data[2 + 2 * i] << 8));
        if (player::seeds::narrowFullWidth(wide).size() != wide.size())
            __builtin_trap();
    }
    return 0;
}
