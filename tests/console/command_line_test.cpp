#include <gtest/gtest.h>

#include "console/command_line.h"

using console::escapeValue;
using console::parseDecimal;
using console::parseWholeNumber;
using console::quoteValue;
using console::splitCommandLine;

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
    bool ok;
};

TEST(CommandLine, SplitsWordsAndQuotedStrings)
{
    const SplitCase cases[] = {
        { "", {}, true },
        { "   \t ", {}, true },
        { "# click moban.Label6", {}, true },
        { "  # indented comment", {}, true },
        { "echo a#b #c", { "echo", "a#b", "#c" }, true },
        { "click  moban.Label6\t", { "click", "moban.Label6" }, true },
        { "type Form5.Text4 \"C:\\\\Music\\\\a.mp3\"", { "type", "Form5.Text4", "C:\\Music\\a.mp3" }, true },
        { "echo \"\\\"q\\\" \\r\\n\\t\"", { "echo", "\"q\" \r\n\t" }, true },
        { "echo \"\"", { "echo", "" }, true },
        { "echo \"中文 标题\" x", { "echo", "中文 标题", "x" }, true },
        // An unknown escape keeps its backslash.
        { "echo \"a\\qb\"", { "echo", "a\\qb" }, true },
        // A quote inside a bare word is an ordinary character.
        { "echo say\"hi", { "echo", "say\"hi" }, true },
        { "echo \"open", {}, false },
        { "echo \"ends in backslash\\\"", {}, false },
        { "echo \"a\"b", {}, false },
    };
    for (const SplitCase& c : cases) {
        const auto parsed = splitCommandLine(c.line);
        EXPECT_EQ(parsed.ok(), c.ok) << c.line;
        EXPECT_EQ(parsed.words, c.words) << c.line;
    }
}

TEST(CommandLine, PrintedValuesReadBackAsTheSameText)
{
    const std::string values[]
        = { "", "plain", "tab\there", "C:\\dir\\", "line1\r\nline2", "say \"hi\"", "中文" };
    for (const std::string& v : values) {
        const auto parsed = splitCommandLine("x " + quoteValue(v));
        ASSERT_TRUE(parsed.ok()) << v;
        ASSERT_EQ(parsed.words.size(), 2u) << v;
        EXPECT_EQ(parsed.words[1], v);
        EXPECT_EQ(escapeValue(v).find_first_of("\r\n\t"), std::string::npos) << v;
    }
    EXPECT_EQ(escapeValue("a\\b\tc"), "a\\\\b\\tc");
}

TEST(CommandLine, NumbersMustBeWholeAndInRange)
{
    struct Row {
        const char* text;
        std::optional<int64_t> value;
    };
    const Row rows[] = {
        { "0", 0 },
        { "42", 42 },
        { "+7", 7 },
        { "-3", -3 },
        { "100", 100 },
        { "101", std::nullopt },
        { "-4", std::nullopt },
        { "", std::nullopt },
        { "+", std::nullopt },
        { "+-1", std::nullopt },
        { "1.5", std::nullopt },
        { "1e3", std::nullopt },
        { " 1", std::nullopt },
        { "1 ", std::nullopt },
        { "0x10", std::nullopt },
        { "99999999999999999999", std::nullopt },
    };
    for (const Row& r : rows)
        EXPECT_EQ(parseWholeNumber(r.text, -3, 100), r.value) << r.text;
}

TEST(CommandLine, CoordinatesAreFiniteDecimals)
{
    EXPECT_EQ(parseDecimal("10"), 10.0);
    EXPECT_EQ(parseDecimal("-2.5"), -2.5);
    EXPECT_EQ(parseDecimal("+.5"), 0.5);
    for (const char* bad : { "", "x", "1e400", "nan", "inf", "1,5", "2px" })
        EXPECT_FALSE(parseDecimal(bad).has_value()) << bad;
}

} // namespace
