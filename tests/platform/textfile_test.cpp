#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/codec.h"
#include "platform/textfile.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(TextFile, WritesCrLfLinesInTheCodePage)
{
    TempDir dir;
    const std::string f = dir.file("list.ini");
    ASSERT_TRUE(writeLines(f, { "D:/音乐/歌.mp3", ">歌.mp3", "" }, "GBK"));
    EXPECT_EQ(readBytes(f), "D:/\xd2\xf4\xc0\xd6/\xb8\xe8.mp3\r\n>\xb8\xe8.mp3\r\n\r\n");
    EXPECT_EQ(readLines(f, "GBK"), (std::vector<std::string> { "D:/音乐/歌.mp3", ">歌.mp3", "" }));
    ASSERT_TRUE(writeLines(f, {}, "UTF-8"));
    EXPECT_EQ(readBytes(f), "");
    EXPECT_TRUE(readLines(f, "UTF-8").empty());
}

TEST(TextFile, ReadsAnyLineEndAndBadBytes)
{
    TempDir dir;
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        { "LF only", "a\nb\n", { "a", "b" } },
        { "no final end", "a\r\nb", { "a", "b" } },
        { "lone CR", "a\rb\r", { "a", "b" } },
        { "blank lines kept", "a\r\n\r\nb\r\n", { "a", "", "b" } },
        { "invalid UTF-8", std::string("a\xff\r\n", 4), { "a\xEF\xBF\xBD" } },
    };
    for (const Row& r : rows) {
        writeBytes(dir.path() / "f", r.bytes);
        EXPECT_EQ(readLines(dir.file("f"), "UTF-8"), r.lines) << r.name;
    }
    bool ok = true;
    EXPECT_TRUE(readLines(dir.file("missing"), "UTF-8", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST(TextFile, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(encode("a😀b", "GBK"), "a?b");
    EXPECT_FALSE(representable("😀", "GBK"));
    EXPECT_TRUE(representable("中文", "GBK"));
    bool ok = true;
    EXPECT_EQ(encode("x", "no-such-charset", &ok), "");
    EXPECT_FALSE(ok);
}

TEST(TextFile, DecodingFollowsTheBrowsersReadingOfLabels)
{
    // 0x80 is the euro sign in GBK but not valid GB2312: the label still decodes it.
    EXPECT_EQ(decode("\x80", "gb2312"), "€");
    EXPECT_EQ(decode("\xd6\xd0\xff", "GB2312"), "中\xEF\xBF\xBD");
    EXPECT_EQ(decode(std::string("\x41\x00\x2d\x4e", 4), "UTF-16LE"), "A中");
    bool ok = true;
    EXPECT_EQ(decode("abc", "klingon", &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_TRUE(charsetKnown("utf-8"));
    EXPECT_FALSE(charsetKnown(""));
}

TEST(TextFile, AFailedRewriteLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    const std::string f = dir.file("ini.db");
    ASSERT_TRUE(writeLines(f, { "old" }, "UTF-8"));
    chmod(dir.path().c_str(), 0500);
    const Status s = writeLines(f, { "new" }, "UTF-8");
    chmod(dir.path().c_str(), 0700);
    EXPECT_FALSE(s.ok);
    EXPECT_FALSE(s.error.empty());
    EXPECT_EQ(readBytes(f), "old\r\n");
}

TEST(TextFile, RewriteLeavesNoTemporaryFilesAndCopyReplaces)
{
    TempDir dir;
    const std::string f = dir.file("a.txt");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(writeLines(f, { std::to_string(i) }, "UTF-8"));
    ASSERT_TRUE(copyFile(f, dir.file("b.txt")));
    EXPECT_EQ(readBytes(dir.path() / "b.txt"), "2\r\n");
    EXPECT_FALSE(copyFile(dir.file("missing"), dir.file("c.txt")));
    EXPECT_FALSE(writeLines(dir.file("no-folder/x.txt"), { "x" }, "UTF-8"));
    EXPECT_FALSE(deleteFile(dir.file("missing")));
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}
