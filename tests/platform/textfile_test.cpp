#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "platform/codec.h"
#include "platform/textfile.h"
#include "runtime/picture.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(TextFile, CodecsMarkWhatTheyCannotHold)
{
    EXPECT_EQ(encode("a😀b", "GBK"), "a?b");
    EXPECT_FALSE(representable("😀", "GBK"));
    EXPECT_TRUE(representable("中文", "GBK"));
    EXPECT_FALSE(tryEncode("x", "no-such-charset").ok());
    EXPECT_FALSE(tryDecodeKeepingBytes("x", "no-such-charset").ok());
    EXPECT_EQ(encode("x", "no-such-charset"), "");
    // Decoding by label, the GB2312 label read as GBK and bad bytes replaced, is BytesToBstr's
    // table (it decodes with this); here a label it does not reach.
    EXPECT_EQ(decode(std::string("\x41\x00\x2d\x4e", 4), "UTF-16LE"), "A中");
    EXPECT_TRUE(charsetKnown("utf-8"));
    EXPECT_FALSE(charsetKnown(""));
}

TEST(TextFile, AFailedRewriteLeavesTheOldFile)
{
    TempDir dir;
    const std::string f = dir.file("ini.db");
    ASSERT_TRUE(writeLines(f, { "old" }, "UTF-8"));
    // A file size limit of 0 fails every write, whoever runs the test (a folder's modes do not
    // stop root, and CI runs as root).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit none { 0, limit.rlim_max };
    ::setrlimit(RLIMIT_FSIZE, &none);
    const Status s = writeLines(f, { "new" }, "UTF-8");
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(readBytes(f), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "a temporary file stayed";
}

TEST(TextFile, WritesLeaveOnlyTheirTarget)
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

TEST(TextFile, UndecodableBytesSurviveARewrite)
{
    TempDir dir;
    const std::string f = dir.file("mname.ini");
    const struct {
        const char* name;
        const char* codePage;
        std::string bytes;
    } rows[] = {
        // Lines end in CR LF and are stored in the code page.
        { "gbk_crlf", "GBK", std::string("D:/\xd2\xf4\xc0\xd6/\xb8\xe8.mp3\r\n>\xb8\xe8.mp3\r\n\r\n") },
        { "utf8_invalid_bytes", "UTF-8",
            std::string(">a\xff\xfe.mp3\r\n>\xc3(b.mp3\r\n>\xe4\xb8\xad.mp3\r\n") },
        // A stand-in character that was already in the file is itself kept byte for byte.
        { "utf8_stand_in_kept", "UTF-8", std::string(">\xf4\x8f\xbc\x81.mp3\r\n") },
        { "gbk_invalid_bytes", "GBK", std::string(">\xd6\xd0\xff.mp3\r\n>\x81\x20x.mp3\r\n>\x80.mp3\r\n") },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(f, row.bytes);
        std::vector<std::string> lines = readLines(f, row.codePage).valueOr({});
        ASSERT_FALSE(lines.empty());
        lines.push_back(">new.mp3");
        ASSERT_TRUE(writeLines(f, lines, row.codePage));
        EXPECT_EQ(readBytes(f), row.bytes + ">new.mp3\r\n") << row.codePage;
    }
    writeBytes(f, rows[0].bytes);
    EXPECT_EQ(*readLines(f, "GBK"), (std::vector<std::string> { "D:/音乐/歌.mp3", ">歌.mp3", "" }));
    // A new name the code page cannot hold still follows the question-mark rule.
    ASSERT_TRUE(writeLines(f, { ">😀.mp3" }, "GBK"));
    EXPECT_EQ(readBytes(f), ">?.mp3\r\n");
}

TEST(TextFile, SpecialFilesAreRefusedWithoutBlocking)
{
    TempDir dir;
    const std::string fifo = dir.file("fifo.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path() / "folder");
    writeBytes(dir.path() / "big.ini", std::string(100, 'x'));
    const struct {
        const char* name;
        std::string path;
        size_t limit;
        ReadOutcome outcome;
    } rows[] = {
        { "fifo", fifo, kMaxTextFileBytes, ReadOutcome::NotRegular },
        { "folder", dir.file("folder"), kMaxTextFileBytes, ReadOutcome::NotRegular },
        { "device", "/dev/zero", kMaxTextFileBytes, ReadOutcome::NotRegular },
        { "missing", dir.file("missing"), kMaxTextFileBytes, ReadOutcome::Missing },
        { "over_limit", dir.file("big.ini"), 99, ReadOutcome::TooLarge },
        { "at_limit", dir.file("big.ini"), 100, ReadOutcome::Read },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string bytes;
        EXPECT_EQ(readFileChecked(row.path, bytes, row.limit), row.outcome) << row.path;
        EXPECT_EQ(probeFile(row.path, row.limit), row.outcome) << row.path;
        std::vector<std::string> lines;
        EXPECT_EQ(readLinesChecked(row.path, "UTF-8", lines, row.limit), row.outcome) << row.path;
        // The bytes only when the whole file was read; otherwise a reason naming the file.
        const Result<std::string> read = readFile(row.path, row.limit);
        EXPECT_EQ(read.ok(), row.outcome == ReadOutcome::Read) << row.path;
        EXPECT_EQ(read.error().find(row.path) != std::string::npos, !read.ok()) << read.error();
        if (read) {
            EXPECT_EQ(*read, std::string(100, 'x'));
        }
    }
    EXPECT_FALSE(copyFile(fifo, dir.file("copy.jpg")));
    EXPECT_FALSE(copyFile("/dev/zero", dir.file("copy.jpg")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "copy.jpg"));
    EXPECT_TRUE(runtime::loadPicture(fifo).empty());
}
