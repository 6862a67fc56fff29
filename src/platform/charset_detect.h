#pragma once
// Which character set a text of unknown origin is written in: song tags, lyrics, playlists
// and subtitles from older collections come in UTF-8, UTF-16, GB18030 (GBK) or Big5 with
// nothing that says which. One routine decides for all of them.
#include <string>
#include <string_view>

namespace platform {

// The character set of the bytes: "UTF-8", "UTF-16LE" or "UTF-16BE" by a byte-order mark;
// UTF-16 without one by its zero bytes; "UTF-8" when the bytes are well-formed UTF-8 (plain
// ASCII included); otherwise "GB18030" or "BIG5", whichever reads as the more common Chinese
// characters (GB18030 on a tie, also for bytes that are neither).
std::string detectCharset(std::string_view bytes);

// The text as UTF-8, in the character set detectCharset names, without its byte-order mark.
// Bytes the character set cannot decode become U+FFFD.
std::string decodeDetected(std::string_view bytes);

// A tag field stored as single bytes (ID3v1, ID3v2's Latin-1 encoding, APE, some Vorbis
// writers), each byte one character of the string: when those bytes are well-formed GB18030
// or Big5 made of common Chinese characters, the text in that character set; otherwise the
// bytes as Latin-1 (so "Björk" stays as it is). Given as UTF-8.
std::string decodeSingleByteField(std::string_view bytes);

} // namespace platform
