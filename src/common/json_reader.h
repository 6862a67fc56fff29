#pragma once
// A small reader of JSON text (as helper programs print it): whole documents only, nesting
// bounded, anything malformed refused. A document is one flat run of 16-byte nodes and one
// block of string bytes, both sized exactly, so its memory stays within a few times its text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace common::json {

class Document;
class Value;
struct Member;
template <class Element> class NodeRange;
// The items of an array, and the members of an object.
using Children = NodeRange<Value>;
using Members = NodeRange<Member>;

// One value of a document; a light handle that lives no longer than its document.
class Value {
public:
    enum Kind : uint8_t { Null, Bool, Number, String, Array, Object };

    // A null value.
    Value() = default;
    [[nodiscard]] Kind kind() const;
    // The member called key; a null value when there is none or this is not an object.
    Value operator[](std::string_view key) const;
    // The text of a string value, else fallback.
    [[nodiscard]] std::string str(std::string fallback = {}) const;
    // The number of a number value, else fallback.
    [[nodiscard]] double num(double fallback = 0) const;
    [[nodiscard]] bool isNumber() const { return kind() == Number; }
    // The items of an array (none for anything else), in order.
    [[nodiscard]] Children items() const;
    // The members of an object (none for anything else), in order.
    [[nodiscard]] Members members() const;

private:
    friend class Document;
    template <class Element> friend class NodeRange;
    Value(const Document* document, uint32_t node)
        : m_document(document)
        , m_node(node)
    {
    }
    const Document* m_document = nullptr;
    uint32_t m_node = 0;
};

// A member of an object: its name and its value.
struct Member {
    std::string_view first; // the name
    Value second;
};

// A parsed document; parse() makes one.
class Document {
public:
    [[nodiscard]] Value root() const { return Value(this, 0); }

private:
    friend class Value;
    template <class Element> friend class NodeRange;
    friend class Reader;
    friend std::optional<Document> parse(std::string_view text);
    // Containers hold their item count and how many nodes their whole subtree takes, so the
    // next sibling is found without a pointer; an object's members are name and value nodes.
    struct Node {
        Value::Kind kind = Value::Null;
        uint32_t count = 0; // a string's bytes, a container's items or members
        uint64_t data = 0; // a string's offset, a number's bits, a container's subtree size
    };
    [[nodiscard]] uint32_t next(uint32_t node) const;
    [[nodiscard]] std::string_view text(uint32_t node) const;
    std::vector<Node> m_nodes;
    std::string m_strings;
};

// Siblings walked from the first: an item is one value node, a member a name node and then
// its value's nodes.
template <class Element> class NodeRange {
public:
    class Iterator {
    public:
        Element operator*() const
        {
            if constexpr (kNamed)
                return { m_document->text(m_node), Value(m_document, m_node + 1) };
            else
                return Value(m_document, m_node);
        }
        Iterator& operator++()
        {
            m_node = m_document->next(m_node + (kNamed ? 1u : 0u));
            --m_left;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_left != other.m_left; }

    private:
        friend class NodeRange;
        const Document* m_document = nullptr;
        uint32_t m_node = 0;
        uint32_t m_left = 0;
    };
    [[nodiscard]] Iterator begin() const
    {
        Iterator it;
        it.m_document = m_document;
        it.m_node = m_first;
        it.m_left = m_count;
        return it;
    }
    [[nodiscard]] Iterator end() const { return {}; }
    [[nodiscard]] bool empty() const { return m_count == 0; }
    [[nodiscard]] size_t size() const { return m_count; }

private:
    friend class Value;
    static constexpr bool kNamed = std::is_same_v<Element, Member>;
    NodeRange() = default;
    NodeRange(const Document* document, uint32_t first, uint32_t count)
        : m_document(document)
        , m_first(first)
        , m_count(count)
    {
    }
    const Document* m_document = nullptr;
    uint32_t m_first = 0;
    uint32_t m_count = 0;
};

// The whole JSON document in text; nothing when the text is not one.
std::optional<Document> parse(std::string_view text);

} // namespace common::json
