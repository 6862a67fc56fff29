#include "player/page_templates.h"

#include "resources/resources.h"
#include "runtime/vbtext.h"

namespace player::pages {

std::string loadTemplate(std::string_view name, const std::string& makerSite)
{
    std::string page(resources::get("player/" + std::string(name) + ".html"));
    page = vb::Replace(page, "/*page guard*/", resources::get("player/page_guard.js"));
    // Sound: every address that goes into a generated page is escaped for its attribute.
    return vb::Replace(page, "{maker_site}", common::pages::escapeAttribute(makerSite));
}

std::string percentEncode(std::string_view text, std::string_view unsafe)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || unsafe.find(c) != std::string_view::npos) {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string withUrlParameter(const std::string& page, const std::string& address)
{
    static constexpr std::string_view kEmpty = "name=\"URL\" value=\"\"";
    const size_t at = page.find(kEmpty);
    if (at == std::string::npos)
        return page;
    std::string out = page;
    out.insert(at + kEmpty.size() - 1, common::pages::escapeAttribute(address));
    return out;
}

std::string flashPage(const std::string& page, const std::string& tempFolder, const std::string& address)
{
    // A folder that starts at the root already brings the third slash of "file:///".
    std::string folder = tempFolder;
    while (!folder.empty() && folder.front() == '/')
        folder.erase(0, 1);
    const std::string movie = "file:///" + percentEncode(folder, "%#?")
        + "/zelv.swf?vcastr_file=" + percentEncode(address, "%&#+") + "&IsAutoPlay=1";
    return vb::Replace(page, "file:///zelv.swf?vcastr_file=", common::pages::escapeAttribute(movie));
}

} // namespace player::pages
