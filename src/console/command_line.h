#pragma once
// The console's line syntax: words separated by blanks, double-quoted strings with escapes,
// and the escaped form in which every value is printed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// The words of one command line, or why the line could not be split.
struct CommandLine {
    std::vector<std::string> words;
    std::string error;
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Splits a line into words. Blanks and tabs separate words; a word that starts with a double
// quote runs to the matching quote and may hold \" \\ \r \n \t. A line that is empty or
// starts with '#' (after blanks) gives no words.
CommandLine splitCommandLine(std::string_view line);

// A value as the console prints it: backslash, CR, LF and tab written as \\ \r \n \t.
std::string escapeValue(std::string_view value);
// A value between double quotes, escaped as above and with quotes written as \".
std::string quoteValue(std::string_view value);

// The text between double quotes as it is, for error messages (the console escapes a whole
// error line once when it prints it).
std::string inQuotes(std::string_view text);

// A whole decimal number with an optional sign and nothing else; nothing when the text is not
// one or lies outside [min, max].
std::optional<int64_t> parseWholeNumber(std::string_view text, int64_t min, int64_t max);
// A finite decimal number (a coordinate); nothing when the text is not one.
std::optional<double> parseDecimal(std::string_view text);

} // namespace console
