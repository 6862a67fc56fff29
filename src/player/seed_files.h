#pragma once
// Reading the stream link out of the plug-ins' seed files: ".QSED" (text in the system code
// page) and ".BSED" (UTF-16 little-endian with a byte-order mark).
#include <optional>
#include <string>
#include <string_view>

namespace player::seeds {

// Seed files larger than this are not read (a seed holds one link and some metadata).
inline constexpr size_t kMaxSeedBytes = size_t(64) << 20;

// Reads text the way free-format list input does: fields separated by commas and line
// ends, blanks around each field removed, a field that starts with a quote taken up to its
// closing quote (commas and line ends inside it kept), and all fields joined with nothing
// between them.
std::string joinFreeFormFields(std::string_view text);
// Full-width forms (U+FF01 to U+FF5E and the ideographic space) as their half-width
// counterparts; everything else unchanged.
std::u16string narrowFullWidth(std::u16string_view text);
// The whole file after its first two bytes (the byte-order mark) as UTF-16 little-endian
// text, full-width forms narrowed, as UTF-8. Empty when the file cannot be read.
std::string ReadUnicodeTextFile(const std::string& path);

// The link of a ".QSED" whose joined fields are given: the quoted value between the first
// "<ref href=" and the first "/>", without its quotes. Nothing when the markers are missing,
// out of order, or enclose fewer than two characters.
std::optional<std::string> qsedLink(std::string_view joined);
// The link of a ".BSED" text: from the first "seeds_href", skipping it and one more
// character, up to the first "}", less its first 10 and last 7 characters. Nothing when a
// marker is missing or the range is too short.
std::optional<std::string> bsedLink(std::string_view text);

// The link of a seed file of either kind, read from disk (codePage for ".QSED").
std::optional<std::string> readQsedLink(const std::string& path, const std::string& codePage);
std::optional<std::string> readBsedLink(const std::string& path);

} // namespace player::seeds
