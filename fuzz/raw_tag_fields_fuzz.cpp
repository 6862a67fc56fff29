// Fuzz target: a song file's bytes read for the stored bytes of its APE tag and its Vorbis
// comments (FLAC, Ogg), as the tag reader does when a field was dropped.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/raw_tag_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    platform::ByteSource file;
    file.size = bytes.size();
    file.read = [&bytes](uint64_t offset, size_t count) {
        return offset >= bytes.size() ? std::string() : bytes.substr(static_cast<size_t>(offset), count);
    };
    for (const platform::RawFields& fields : { platform::apeFields(file), platform::vorbisFields(file) }) {
        for (const auto& [key, value] : fields) {
            // Keys are upper case and every field lies within the file.
            if (key.empty() || key.size() + value.size() > bytes.size()
                || std::any_of(key.begin(), key.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
                __builtin_trap();
        }
    }
    return 0;
}
