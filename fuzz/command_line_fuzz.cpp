// Fuzz target: one line of the automation console. Whatever a line holds, splitting it ends
// with words or an error, and every value the console prints reads back as the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    console::splitCommandLine(line);
    const console::CommandLine back = console::splitCommandLine("get " + console::quoteValue(line));
    if (!back.ok() || back.words.size() != 2 || back.words[1] != line)
        __builtin_trap();
    console::parseWholeNumber(line, -1000000, 1000000);
    if (const auto d = console::parseDecimal(line); d && !(*d == *d))
        __builtin_trap();
    return 0;
}
