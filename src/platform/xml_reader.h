#pragma once
// Reading XML documents as a stream of elements and text, with namespaces resolved and no
// entity of the document's own ever expanded.
#include <functional>
#include <string>
#include <string_view>

namespace platform::xml {

// An element's name: the namespace it belongs to (empty when none) and its local name.
struct Name {
    std::string space;
    std::string local;
};

// What a reader is told, in document order. Character data may come in several pieces.
struct Handler {
    std::function<void(const Name&)> start;
    std::function<void(const Name&)> end;
    std::function<void(std::string_view)> text;
};

// Reads a whole document (UTF-8, UTF-16 or a charset its declaration names, as the XML
// rules say). False when it is not well-formed XML or declares entities of its own (a
// document type with entity declarations is refused, so no expansion can grow without
// bound); the handler may then have been told part of it.
bool read(std::string_view document, const Handler& handler);

} // namespace platform::xml
