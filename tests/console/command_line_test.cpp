#include <gtest/gtest.h>

#include "console/command_line.h"
#include "support/temp_dir.h"

using console::escapeValue;
using console::parseDecimal;
using console::parseWholeNumber;
using console::quoteValue;
using console::splitCommandLine;

namespace {

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

// Each row: the text, then its value in -3..100, or nothing when it is refused.
TEST(CommandLine, OnlyWholeNumbersInRangeAreAccepted)
{
    for (const auto& row : testing_support::testRows("console/whole_numbers.tsv")) {
        SCOPED_TRACE(row.name);
        const auto value = parseWholeNumber(row[0], -3, 100);
        EXPECT_EQ(value, row[1].empty() ? std::nullopt : std::optional<int64_t>(std::stoll(row[1])))
            << row[0];
    }
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
