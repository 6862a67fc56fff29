#pragma once
// Text put into the pages the program generates.
#include <string>
#include <string_view>

namespace common::pages {

// Text made safe inside a double-quoted (or single-quoted) HTML attribute value.
std::string escapeAttribute(std::string_view text);
// The text with every line ended by CR LF, whatever its line ends were.
std::string withCrLf(std::string_view text);

} // namespace common::pages
