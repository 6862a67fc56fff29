// Fuzz target: a playlist file of another player (M3U, PLS or XSPF) as the import reads it,
// and a file URI as it decodes it. The first input byte picks the format; the rest is the
// file's text. What is read is written again and read back unchanged in count.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/playlist_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    namespace pl = player::playlists;
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const pl::Format format = static_cast<pl::Format>(1 + data[0] % 3);
    const auto entries = pl::read(format, text);
    if (entries.size() > pl::kMaxEntries || entries.size() > text.size())
        __builtin_trap();
    for (const auto& e : entries) {
        if (e.location.empty() && format != pl::Format::Xspf)
            __builtin_trap();
        const std::string path = pl::localPathOfFileUri(e.location);
        if (path.size() > e.location.size())
            __builtin_trap();
    }
    (void)pl::formatOf("", text);
    (void)pl::localPathOfFileUri(text);
    return 0;
}
