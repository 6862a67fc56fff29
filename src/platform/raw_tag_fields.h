#pragma once
// Text fields of APE tags and Vorbis comments read as the bytes stored. Both formats say
// their text is UTF-8, but older writers put GBK or Big5 bytes there, which a reader that
// trusts the format drops; these readers keep the bytes so the caller can detect their set.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// Fields as (key in ASCII upper case, value bytes); of a field with several values, the first.
using RawFields = std::vector<std::pair<std::string, std::string>>;

// A file's bytes: the bytes from offset on, at most count (fewer at its end), and its size.
struct ByteSource {
    std::function<std::string(uint64_t offset, size_t count)> read;
    uint64_t size = 0;
};

// The text items of an APEv2 tag at the end of the file (before an ID3v1 tag, if any).
RawFields apeFields(const ByteSource& file);
// The Vorbis comments of a FLAC file (after an ID3v2 tag, if any) or of the first stream of
// an Ogg file (Vorbis, Opus or FLAC).
RawFields vorbisFields(const ByteSource& file);

// The file at path as a byte source (read through a stream kept open by the source).
ByteSource fileSource(const std::string& path);

} // namespace platform
