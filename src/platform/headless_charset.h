#pragma once
// The character set of a fetched web page, as a browser finds it, and the page as text.
#include <string>
#include <string_view>

namespace platform {

// The character set a page is read in: a byte order mark, else the charset of the
// Content-Type header, else a meta declaration near the top of the page, else fallback.
// Names the codec does not know are passed over.
std::string pageCharset(std::string_view bytes, const std::string& contentType, const std::string& fallback);
// The page bytes as UTF-8 text in the character set pageCharset chooses (a byte order mark
// dropped). Invalid bytes become U+FFFD.
std::string decodePage(std::string_view bytes, const std::string& contentType, const std::string& fallback);

} // namespace platform
