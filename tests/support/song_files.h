#pragma once
// Song files made byte by byte, with the tags older writers leave: ID3v1 and ID3v2.3 frames
// holding code page bytes.
#include <string>

namespace testing_support {

// A number as `bytes` big-endian bytes of `bitsPerByte` bits (7 for ID3v2's tag size).
inline std::string bigEndian(size_t n, int bytes, int bitsPerByte = 8)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((n >> (i * bitsPerByte)) & ((1u << bitsPerByte) - 1));
    return out;
}

// An ID3v2.3 frame; a text frame's body starts with its encoding byte (0 Latin-1, 1 UTF-16).
inline std::string id3Frame(const std::string& id, const std::string& body)
{
    return id + bigEndian(body.size(), 4) + std::string(2, '\0') + body;
}

inline std::string id3v2(const std::string& frames)
{
    return std::string("ID3\x03\x00\x00", 6) + bigEndian(frames.size(), 4, 7) + frames;
}

inline std::string id3v1(const std::string& title, const std::string& artist, const std::string& album)
{
    const auto field = [](std::string s) {
        s.resize(30, '\0');
        return s;
    };
    return "TAG" + field(title) + field(artist) + field(album) + "2003" + field("") + "\xFF";
}

// Ten silent MPEG-1 layer III frames (128 kbit/s, 44.1 kHz): TagLib takes them for a song.
inline std::string mpegAudio()
{
    std::string frame("\xFF\xFB\x90\x00", 4);
    frame.resize(417, '\0');
    std::string out;
    for (int i = 0; i < 10; ++i)
        out += frame;
    return out;
}

// GBK bytes of a few names (晴天, 周杰伦, 叶惠美) and Big5 bytes of one (周杰倫).
inline const std::string kGbkTitle = "\xC7\xE7\xCC\xEC";
inline const std::string kGbkArtist = "\xD6\xDC\xBD\xDC\xC2\xD7";
inline const std::string kGbkAlbum = "\xD2\xB6\xBB\xDD\xC3\xC0";
inline const std::string kBig5Artist = "\xA9P\xAAN\xAD\xDB";

} // namespace testing_support
