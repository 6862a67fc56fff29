#pragma once
// ASCII text of protocols and formats (header names, schemes, file extensions, playlist
// tags): only the letters A to Z change case, whatever the locale, and every other byte
// (UTF-8 among them) stays as it is.
#include <string>
#include <string_view>

namespace runtime {

constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

// Whether s begins with prefix, letters compared without their case.
constexpr bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(s[i]) != asciiLower(prefix[i]))
            return false;
    }
    return true;
}

// s without the spaces, tabs and line ends around it: a view into s, or a copy.
constexpr std::string_view trimmedView(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

inline std::string trimmed(std::string_view s)
{
    return std::string(trimmedView(s));
}

} // namespace runtime
