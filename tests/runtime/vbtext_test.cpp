#include <gtest/gtest.h>

#include "runtime/vbtext.h"

using namespace vb;

TEST(VbText, CountsChineseTextInCharacters)
{
    const std::string s = "在线影音abc下载";
    EXPECT_EQ(Len(s), 9);
    EXPECT_EQ(Left(s, 2), "在线");
    EXPECT_EQ(Right(s, 2), "下载");
    EXPECT_EQ(Mid(s, 5, 3), "abc");
    EXPECT_EQ(Mid(s, 8), "下载");
    EXPECT_EQ(Mid(s, 20), "");
    EXPECT_EQ(InStr(s, "abc"), 5);
    EXPECT_EQ(InStr(s, "下"), 8);
    EXPECT_EQ(InStr(s, "下", 9), 0);
    EXPECT_EQ(InStr(s, "", 3), 3);
    EXPECT_EQ(InStrRev("a>b>c", ">"), 4);
    EXPECT_EQ(Len("𝄞"), 2); // outside the basic plane: two code units
    // Edge arguments never throw.
    EXPECT_EQ(Left("abc", -1), "");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(Right("abc", 10), "abc");
    EXPECT_EQ(Mid("abc", 0, 2), "ab");
    EXPECT_EQ(Mid("", 1, 1), "");
    EXPECT_EQ(InStr("abc", "c", 100), 0);
    // Invalid UTF-8 counts one replacement per bad byte instead of failing.
    EXPECT_EQ(Len(std::string("a\xff\xfe", 3)), 3);
}

TEST(VbText, CaseTrimReplaceFollowTheLanguagesRules)
{
    EXPECT_EQ(UCase("song.mp3 歌"), "SONG.MP3 歌");
    EXPECT_EQ(LCase("A.WAV"), "a.wav");
    EXPECT_EQ(Trim("  中 文  "), "中 文");
    EXPECT_EQ(Replace("Ａ>歌>歌", "歌", "曲"), "Ａ>曲>曲");
    EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
}

TEST(VbText, ValReadsTheLeadingNumber)
{
    struct Row {
        const char* name;
        const char* text;
        double value;
    };
    const Row rows[] = {
        { "whole_number", "11599360", 11599360 },
        { "leading_spaces_then_junk", "  42abc", 42 },
        { "negative_decimal", "-3.5", -3.5 },
        { "spaces_inside", "1 2 3", 123 },
        { "letters", "abc", 0 },
        { "empty", "", 0 },
        { "hexadecimal", "&H1E3C", 7740 },
        { "hexadecimal_all_ones", "&HFFFF", -1 },
        { "two_points", "1.2.3", 1.2 },
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(Val(r.text), r.value) << r.name;
}

TEST(VbText, WholeNumbersAreRoundedClampedAndMayBeMissing)
{
    EXPECT_EQ(tryLong(" 2.5 "), 2);
    EXPECT_EQ(tryLong("99999999999"), 2147483647);
    EXPECT_EQ(tryLong("-"), std::nullopt);
    EXPECT_EQ(toLong("abc"), 0);
}
