#pragma once
// The pages that embed the QVOD, Baidu and flash players: the templates as resources, and
// the one place where an address is put into them.
#include <string>
#include <string_view>

#include "common/page_text.h"

namespace player::pages {

// A template ("qvod", "bdhd" or "zelv") with its shared key guard script in place and the
// plug-in download pages pointed at the maker's site.
std::string loadTemplate(std::string_view name, const std::string& makerSite);
// The characters of `unsafe` (and control characters) as %XX, so that the text stays one
// part of an address.
std::string percentEncode(std::string_view text, std::string_view unsafe);
// A player page: the address as the value of the template's empty URL parameter.
std::string withUrlParameter(const std::string& page, const std::string& address);
// The flash page: both movie addresses point at the flash player in tempFolder and carry
// the address as their "vcastr_file" value.
std::string flashPage(const std::string& page, const std::string& tempFolder, const std::string& address);

} // namespace player::pages
