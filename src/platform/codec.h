#pragma once
// Conversions between the program's UTF-8 text and other character sets.
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

// Whether a character set name is known ("GB2312", "gbk", "utf-8", "UTF-16LE"...).
bool charsetKnown(const std::string& charset);
// Decodes bytes in charset to UTF-8. Invalid bytes become U+FFFD. The label "GB2312"
// decodes as GBK, as browsers do. Fails only for an unknown charset.
Result<std::string> tryDecode(std::string_view bytes, const std::string& charset);
// Encodes UTF-8 text to charset. A character the charset cannot hold becomes '?'. Fails only
// for an unknown charset.
Result<std::string> tryEncode(std::string_view utf8, const std::string& charset);
// Decodes like tryDecode, but a byte the charset cannot decode becomes a stand-in character
// (U+10FF00 plus the byte, in a private-use plane no code page maps to) instead of U+FFFD,
// so that tryEncodeKeepingBytes gives back exactly the bytes that were read.
Result<std::string> tryDecodeKeepingBytes(std::string_view bytes, const std::string& charset);
// Encodes like tryEncode, except that stand-ins of undecodable bytes become those bytes again.
Result<std::string> tryEncodeKeepingBytes(std::string_view utf8, const std::string& charset);
// The same conversions for callers whose charset is known (a constant, or one checked
// before): an unknown charset gives empty text.
std::string decode(std::string_view bytes, const std::string& charset);
std::string encode(std::string_view utf8, const std::string& charset);
std::string decodeKeepingBytes(std::string_view bytes, const std::string& charset);
std::string encodeKeepingBytes(std::string_view utf8, const std::string& charset);
// Whether the bytes are strictly well-formed UTF-8 (no surrogates, no overlong forms); such
// text decodes as UTF-8 unchanged.
bool wellFormedUtf8(std::string_view bytes);
// Whether decodeKeepingBytes would give the bytes back as they are (well-formed UTF-8 read
// as UTF-8, with no character of the stand-ins' block), so a reader may use them directly.
bool decodesUnchanged(std::string_view bytes, const std::string& charset);
// Whether every character of the UTF-8 text can be held by the charset.
bool representable(std::string_view utf8, const std::string& charset);

} // namespace platform
