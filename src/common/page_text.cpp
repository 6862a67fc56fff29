#include "common/page_text.h"

#include "runtime/vbtext.h"

namespace common::pages {

std::string escapeAttribute(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string withCrLf(std::string_view text)
{
    const std::string lf = vb::Replace(vb::Replace(text, "\r\n", "\n"), "\r", "\n");
    return vb::Replace(lf, "\n", "\r\n");
}

} // namespace common::pages
