// Fuzz target: a lyrics file as it is found (any character set, any LRC shape) read into
// lines, and the line of every time asked for.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lyrics/lrc.h"
#include "platform/charset_detect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const lyrics::Lyrics read = lyrics::parseLrc(platform::decodeDetected(bytes));
    for (int ms : { -1, 0, 1000, 600000 }) {
        const int line = lyrics::lineAt(read, ms);
        if (line < -1 || line >= static_cast<int>(read.lines.size()))
            __builtin_trap();
    }
    for (size_t i = 1; read.timed() && i < read.lines.size(); ++i) {
        if (read.lines[i].ms < read.lines[i - 1].ms)
            __builtin_trap();
    }
    platform::decodeSingleByteField(bytes);
    return 0;
}
