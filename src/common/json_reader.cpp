#include "common/json_reader.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace common::json {

namespace {
// Deeper documents are refused rather than read with a deep recursion.
constexpr int kMaxDepth = 64;
} // namespace

// Reads a document twice: the first pass checks it and counts its nodes and string bytes, the
// second fills a document whose storage was reserved to those counts, so no growth doubles it.
class Reader {
public:
    Reader(std::string_view text, Document* into)
        : m_text(text)
        , m_into(into)
    {
    }

    bool document()
    {
        m_at = 0;
        if (!value(0))
            return false;
        blanks();
        return m_at == m_text.size();
    }
    [[nodiscard]] size_t nodes() const { return m_nodes; }
    [[nodiscard]] size_t stringBytes() const { return m_stringBytes; }

private:
    using Node = Document::Node;

    void blanks()
    {
        while (m_at < m_text.size()
            && (m_text[m_at] == ' ' || m_text[m_at] == '\t' || m_text[m_at] == '\n' || m_text[m_at] == '\r'))
            ++m_at;
    }
    bool take(char c)
    {
        blanks();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool word(std::string_view w)
    {
        if (m_text.substr(m_at, w.size()) != w)
            return false;
        m_at += w.size();
        return true;
    }
    // A new node at the end of the document (only counted in the first pass).
    size_t add(Value::Kind kind, uint32_t count = 0, uint64_t data = 0)
    {
        ++m_nodes;
        if (!m_into)
            return 0;
        m_into->m_nodes.push_back({ kind, count, data });
        return m_into->m_nodes.size() - 1;
    }

    bool value(int depth)
    {
        if (depth > kMaxDepth)
            return false;
        blanks();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at];
        if (c == '{' || c == '[')
            return container(c == '{', depth);
        if (c == '"')
            return string();
        if (word("true") || word("false")) {
            add(Value::Bool, 0, c == 't');
            return true;
        }
        if (word("null")) {
            add(Value::Null);
            return true;
        }
        return number();
    }

    // An object's members are a name node and a value node each.
    bool container(bool object, int depth)
    {
        const size_t node = add(object ? Value::Object : Value::Array);
        const size_t first = m_nodes;
        uint32_t count = 0;
        ++m_at;
        if (!take(object ? '}' : ']')) {
            do {
                if (object) {
                    blanks();
                    if (m_at >= m_text.size() || m_text[m_at] != '"' || !string() || !take(':'))
                        return false;
                }
                if (!value(depth + 1))
                    return false;
                ++count;
            } while (take(','));
            if (!take(object ? '}' : ']'))
                return false;
        }
        if (m_into) {
            m_into->m_nodes[node].count = count;
            m_into->m_nodes[node].data = m_nodes - first + 1;
        }
        return true;
    }

    bool number()
    {
        const size_t start = m_at;
        while (m_at < m_text.size()
            && std::string_view("+-0123456789.eE").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
        if (m_at == start)
            return false;
        const std::string digits(m_text.substr(start, m_at - start));
        char* end = nullptr;
        const double number = std::strtod(digits.c_str(), &end);
        add(Value::Number, 0, std::bit_cast<uint64_t>(number));
        return end == digits.c_str() + digits.size() && std::isfinite(number);
    }

    bool hex4(unsigned& code)
    {
        if (m_text.size() - m_at < 4)
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = m_text[m_at++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<unsigned>(h - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    static void utf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool escape(std::string& out)
    {
        if (m_at >= m_text.size())
            return false;
        const char e = m_text[m_at++];
        const std::string_view from = "\"\\/bfnrt";
        const std::string_view to = "\"\\/\b\f\n\r\t";
        if (const size_t i = from.find(e); i != std::string_view::npos) {
            out += to[i];
            return true;
        }
        unsigned code = 0;
        if (e != 'u' || !hex4(code))
            return false;
        if (code >= 0xD800 && code < 0xDC00) {
            unsigned low = 0;
            if (!word("\\u") || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code < 0xE000) {
            return false;
        }
        utf8(out, code);
        return true;
    }

    // A string's bytes go to the document's string block; the first pass only measures them.
    bool string()
    {
        std::string scratch;
        std::string& out = m_into ? m_into->m_strings : scratch;
        const size_t offset = out.size();
        ++m_at;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"') {
                m_stringBytes += out.size() - offset;
                add(Value::String, static_cast<uint32_t>(out.size() - offset), offset);
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\')
                out += c;
            else if (!escape(out))
                return false;
        }
        return false;
    }

    std::string_view m_text;
    Document* m_into = nullptr;
    size_t m_at = 0;
    size_t m_nodes = 0;
    size_t m_stringBytes = 0;
};

uint32_t Document::next(uint32_t node) const
{
    const Node& n = m_nodes[node];
    return node + (n.kind == Value::Array || n.kind == Value::Object ? static_cast<uint32_t>(n.data) : 1);
}

std::string_view Document::text(uint32_t node) const
{
    return std::string_view(m_strings).substr(m_nodes[node].data, m_nodes[node].count);
}

Value::Kind Value::kind() const
{
    return m_document ? m_document->m_nodes[m_node].kind : Null;
}

Value Value::operator[](std::string_view key) const
{
    for (const auto& [name, value] : members()) {
        if (name == key)
            return value;
    }
    return {};
}

std::string Value::str(std::string fallback) const
{
    return kind() == String ? std::string(m_document->text(m_node)) : std::move(fallback);
}

double Value::num(double fallback) const
{
    return kind() == Number ? std::bit_cast<double>(m_document->m_nodes[m_node].data) : fallback;
}

Children Value::items() const
{
    Children c;
    if (kind() == Array)
        c = Children(m_document, m_node + 1, m_document->m_nodes[m_node].count);
    return c;
}

Members Value::members() const
{
    Members m;
    if (kind() == Object)
        m = Members(m_document, m_node + 1, m_document->m_nodes[m_node].count);
    return m;
}

std::optional<Document> parse(std::string_view text)
{
    // Node positions are 32-bit.
    if (text.size() >= std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    Reader measure(text, nullptr);
    if (!measure.document())
        return std::nullopt;
    Document document;
    document.m_nodes.reserve(measure.nodes());
    document.m_strings.reserve(measure.stringBytes());
    Reader(text, &document).document();
    return document;
}

} // namespace common::json
