#include "platform/headless_charset.h"

#include <utility>

#include "platform/codec.h"
#include "runtime/ascii.h"

namespace platform {

namespace {

// How far into a page a meta charset declaration is looked for.
constexpr size_t kPrescanBytes = 8192;
bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The value after "charset=" in a Content-Type text, or an empty text.
std::string charsetParameter(std::string_view text)
{
    const std::string low = runtime::asciiLower(text);
    size_t at = low.find("charset");
    if (at == std::string::npos)
        return {};
    at += 7;
    while (at < low.size() && isSpace(low[at]))
        ++at;
    if (at >= low.size() || low[at] != '=')
        return {};
    ++at;
    while (at < low.size() && isSpace(low[at]))
        ++at;
    if (at < low.size() && (low[at] == '"' || low[at] == '\''))
        ++at;
    size_t end = at;
    while (end < low.size() && !isSpace(low[end]) && low[end] != ';' && low[end] != '"' && low[end] != '\'')
        ++end;
    return std::string(text.substr(at, end - at));
}

// Reads one attribute at s[i] of a tag; false at the end of the tag (i then points past '>').
bool nextAttribute(std::string_view s, size_t& i, std::string& name, std::string& value)
{
    while (i < s.size() && (isSpace(s[i]) || s[i] == '/'))
        ++i;
    if (i >= s.size() || s[i] == '>') {
        ++i;
        return false;
    }
    const size_t nameStart = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '/' && s[i] != '>' && s[i] != '=')
        ++i;
    name = runtime::asciiLower(s.substr(nameStart, i - nameStart));
    value.clear();
    while (i < s.size() && isSpace(s[i]))
        ++i;
    if (i >= s.size() || s[i] != '=')
        return true;
    ++i;
    while (i < s.size() && isSpace(s[i]))
        ++i;
    if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
        const char quote = s[i++];
        const size_t end = s.find(quote, i);
        value = s.substr(i, (end == std::string_view::npos ? s.size() : end) - i);
        i = end == std::string_view::npos ? s.size() : end + 1;
        return true;
    }
    const size_t valueStart = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '>')
        ++i;
    value = s.substr(valueStart, i - valueStart);
    return true;
}

// Where the scan goes on past the comment, declaration, end tag or plain text at i; i itself
// where an element's tag starts, npos where the page ends inside a comment or declaration.
size_t pastNonElement(std::string_view s, size_t i)
{
    if (s.compare(i, 4, "<!--") == 0) {
        const size_t end = s.find("-->", i + 4);
        return end == std::string_view::npos ? end : end + 3;
    }
    if (s[i] != '<' || i + 1 >= s.size())
        return i + 1;
    const char next = s[i + 1];
    const bool endTag = next == '/' && i + 2 < s.size() && isAlpha(s[i + 2]);
    if (isAlpha(next) || endTag)
        return i;
    // "<!doctype", "<?xml", "</ " and a stray '<' in text.
    const size_t end = (next == '!' || next == '?' || next == '/') ? s.find('>', i) : i;
    return end == std::string_view::npos ? end : end + 1;
}

// Reads a tag's attributes from i on and gives the charset it declares when it is a meta
// element (its charset, or the content of an http-equiv content-type). Every tag's attributes
// are read whole, so a '>' inside a quoted value of another tag does not end it.
std::string tagCharset(std::string_view s, size_t& i, bool meta)
{
    std::string name;
    std::string value;
    std::string charset;
    std::string httpEquiv;
    std::string content;
    while (nextAttribute(s, i, name, value)) {
        if (!meta)
            continue;
        if (name == "charset" && charset.empty())
            charset = value;
        else if (name == "http-equiv")
            httpEquiv = runtime::asciiLower(value);
        else if (name == "content")
            content = value;
    }
    if (!meta)
        return {};
    if (charset.empty() && httpEquiv == "content-type")
        charset = charsetParameter(content);
    return charset;
}

// The charset a meta element near the top of the page declares, or an empty text.
std::string metaCharset(std::string_view bytes)
{
    const std::string_view s = bytes.substr(0, kPrescanBytes);
    size_t i = 0;
    while (i < s.size()) {
        const size_t past = pastNonElement(s, i);
        if (past == std::string_view::npos)
            return {};
        if (past != i) {
            i = past;
            continue;
        }
        const bool meta = runtime::startsWithNoCase(s.substr(i), "<meta") && i + 5 < s.size()
            && (isSpace(s[i + 5]) || s[i + 5] == '/');
        i += 1;
        std::string charset = tagCharset(s, i, meta);
        if (!charset.empty() && charsetKnown(charset))
            return charset;
    }
    return {};
}

std::string knownOr(const std::string& charset, const std::string& otherwise)
{
    return !charset.empty() && charsetKnown(charset) ? charset : otherwise;
}

} // namespace

std::string pageCharset(std::string_view bytes, const std::string& contentType, const std::string& fallback)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return "UTF-8";
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return "UTF-16LE";
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return "UTF-16BE";
    std::string header = knownOr(charsetParameter(contentType), "");
    if (!header.empty())
        return header;
    const std::string meta = metaCharset(bytes);
    // A page read as ASCII text cannot be UTF-16: such a declaration was written before a
    // tool converted the page, so browsers read it as UTF-8.
    if (runtime::asciiLower(meta).starts_with("utf-16"))
        return "UTF-8";
    return knownOr(meta, knownOr(fallback, "UTF-8"));
}

std::string decodePage(std::string_view bytes, const std::string& contentType, const std::string& fallback)
{
    const std::string charset = pageCharset(bytes, contentType, fallback);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
        bytes.remove_prefix(2);
    return decode(bytes, charset);
}

} // namespace platform
