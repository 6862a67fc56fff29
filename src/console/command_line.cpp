#include "console/command_line.h"

#include <charconv>
#include <cmath>

namespace console {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The character an escape letter stands for inside a quoted word, or 0 when the letter is not
// one of the escapes; an unknown escape keeps its backslash, so pasted paths survive.
char escaped(char letter)
{
    switch (letter) {
    case '"':
        return '"';
    case '\\':
        return '\\';
    case 'r':
        return '\r';
    case 'n':
        return '\n';
    case 't':
        return '\t';
    default:
        return 0;
    }
}

// A quoted word read from just after its opening quote: the word with its escapes resolved,
// whether its closing quote came, and where reading stopped.
struct QuotedWord {
    std::string word;
    bool closed = false;
    size_t next = 0;
};

QuotedWord readQuoted(std::string_view line, size_t i)
{
    QuotedWord quoted;
    const size_t n = line.size();
    while (i < n) {
        const char c = line[i++];
        if (c == '"') {
            quoted.closed = true;
            break;
        }
        if (c == '\\' && i < n) {
            if (const char e = escaped(line[i])) {
                quoted.word += e;
                ++i;
                continue;
            }
        }
        quoted.word += c;
    }
    quoted.next = i;
    return quoted;
}

} // namespace

CommandLine splitCommandLine(std::string_view line)
{
    CommandLine result;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        if (result.words.empty() && line[i] == '#')
            break;
        if (line[i] != '"') {
            std::string word;
            while (i < n && !isBlank(line[i]))
                word += line[i++];
            result.words.push_back(std::move(word));
            continue;
        }
        const size_t start = i;
        QuotedWord quoted = readQuoted(line, i + 1);
        i = quoted.next;
        if (!quoted.closed) {
            result.error = "unclosed quote at column " + std::to_string(start + 1);
            result.words.clear();
            return result;
        }
        if (i < n && !isBlank(line[i])) {
            result.error = "text right after a closing quote at column " + std::to_string(i + 1);
            result.words.clear();
            return result;
        }
        result.words.push_back(std::move(quoted.word));
    }
    return result;
}

std::string escapeValue(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string quoteValue(std::string_view value)
{
    std::string out = "\"";
    for (const char c : escapeValue(value)) {
        if (c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

namespace {

// Drops one leading plus sign; from_chars accepts only a minus. "+-1" stays malformed.
bool stripPlus(std::string_view& text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return false;
    }
    return !text.empty();
}

} // namespace

std::optional<int64_t> parseWholeNumber(std::string_view text, int64_t min, int64_t max)
{
    if (!stripPlus(text))
        return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<double> parseDecimal(std::string_view text)
{
    if (!stripPlus(text))
        return std::nullopt;
    double value = 0;
    const auto [end, ec]
        = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace console
