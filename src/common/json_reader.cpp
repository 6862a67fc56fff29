#include "common/json_reader.h"

#include <cmath>
#include <cstdlib>

namespace common::json {

namespace {

// Deeper documents are refused rather than read with a deep recursion.
constexpr int kMaxDepth = 64;

class Reader {
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {
    }

    bool document(Value& v)
    {
        if (!value(v, 0))
            return false;
        blanks();
        return m_at == m_text.size();
    }

private:
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

    bool value(Value& v, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        blanks();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at];
        if (c == '{')
            return object(v, depth);
        if (c == '[')
            return array(v, depth);
        if (c == '"') {
            v.kind = Value::String;
            return string(v.text);
        }
        if (word("true") || word("false")) {
            v.kind = Value::Bool;
            v.boolean = c == 't';
            return true;
        }
        if (word("null"))
            return true;
        return number(v);
    }

    bool object(Value& v, int depth)
    {
        v.kind = Value::Object;
        ++m_at;
        if (take('}'))
            return true;
        do {
            std::pair<std::string, Value> member;
            blanks();
            if (m_at >= m_text.size() || m_text[m_at] != '"' || !string(member.first) || !take(':')
                || !value(member.second, depth + 1))
                return false;
            v.members.push_back(std::move(member));
        } while (take(','));
        return take('}');
    }

    bool array(Value& v, int depth)
    {
        v.kind = Value::Array;
        ++m_at;
        if (take(']'))
            return true;
        do {
            v.items.emplace_back();
            if (!value(v.items.back(), depth + 1))
                return false;
        } while (take(','));
        return take(']');
    }

    bool number(Value& v)
    {
        const size_t start = m_at;
        while (m_at < m_text.size()
            && std::string_view("+-0123456789.eE").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
        if (m_at == start)
            return false;
        const std::string digits(m_text.substr(start, m_at - start));
        char* end = nullptr;
        v.number = std::strtod(digits.c_str(), &end);
        v.kind = Value::Number;
        return end == digits.c_str() + digits.size() && std::isfinite(v.number);
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

    bool string(std::string& out)
    {
        ++m_at;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
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
    size_t m_at = 0;
};

const Value& nullValue()
{
    static const Value none;
    return none;
}

} // namespace

const Value& Value::operator[](std::string_view key) const
{
    for (const auto& [name, value] : members) {
        if (name == key)
            return value;
    }
    return nullValue();
}

std::string Value::str(std::string fallback) const
{
    return kind == String ? text : fallback;
}

double Value::num(double fallback) const
{
    return kind == Number ? number : fallback;
}

std::optional<Value> parse(std::string_view text)
{
    Value v;
    Reader reader(text);
    if (!reader.document(v))
        return std::nullopt;
    return v;
}

} // namespace common::json
