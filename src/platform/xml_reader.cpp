#include "platform/xml_reader.h"

#include <algorithm>

#include <expat.h>

namespace platform::xml {

namespace {

// Expat names namespaced elements "URI|local"; the bar cannot stand in a namespace URI.
constexpr char kSeparator = '|';

struct Reading {
    XML_Parser parser;
    const Handler& handler;
    bool refused = false;
};

Name nameOf(const XML_Char* full)
{
    const std::string_view s(full);
    const size_t bar = s.rfind(kSeparator);
    if (bar == std::string_view::npos)
        return { {}, std::string(s) };
    return { std::string(s.substr(0, bar)), std::string(s.substr(bar + 1)) };
}

void onStart(void* data, const XML_Char* name, const XML_Char**)
{
    auto* r = static_cast<Reading*>(data);
    if (r->handler.start)
        r->handler.start(nameOf(name));
}

void onEnd(void* data, const XML_Char* name)
{
    auto* r = static_cast<Reading*>(data);
    if (r->handler.end)
        r->handler.end(nameOf(name));
}

void onText(void* data, const XML_Char* s, int length)
{
    auto* r = static_cast<Reading*>(data);
    if (r->handler.text)
        r->handler.text(std::string_view(s, static_cast<size_t>(length)));
}

// Any entity declaration ends the reading: a playlist or similar file has no use for one,
// and nested expansions are how a small file asks for gigabytes.
void onEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
    const XML_Char*, const XML_Char*, const XML_Char*)
{
    auto* r = static_cast<Reading*>(data);
    r->refused = true;
    XML_StopParser(r->parser, XML_FALSE);
}

} // namespace

bool read(std::string_view document, const Handler& handler)
{
    XML_Parser parser = XML_ParserCreateNS(nullptr, kSeparator);
    if (!parser)
        return false;
    Reading reading { parser, handler };
    XML_SetUserData(parser, &reading);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    XML_SetEntityDeclHandler(parser, onEntityDeclaration);
    // External entities and DTDs are never fetched.
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    bool ok = true;
    // Fed in pieces: the length argument is an int.
    constexpr size_t kPiece = 1 << 20;
    do {
        const size_t n = std::min(kPiece, document.size());
        const bool last = n == document.size();
        ok = XML_Parse(parser, document.data(), static_cast<int>(n), last) == XML_STATUS_OK;
        document.remove_prefix(n);
        if (last)
            break;
    } while (ok);
    XML_ParserFree(parser);
    return ok && !reading.refused;
}

} // namespace platform::xml
