// Files committed together, the completion of a commit a crash cut short, and the removal of
// what killed writers leave behind.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/listing.h"
#include "platform/textfile.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace fs = std::filesystem;

using platform_testing::namesIn;

TEST(CommitTogether, ReplacesThePairCleanly)
{
    TempDir dir;
    const std::string journal = dir.file(".mlist.commit");
    ASSERT_TRUE(commitTogether(
        journal, { { dir.file("mpath.ini"), "/a\r\n" }, { dir.file("mname.ini"), ">a\r\n" } }));
    ASSERT_TRUE(commitTogether(journal, { { dir.file("mpath.ini"), "" }, { dir.file("mname.ini"), "" } }));
    EXPECT_EQ(readBytes(dir.path() / "mpath.ini"), "");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "mname.ini", "mpath.ini" }));
    // Files of another folder, or a journal without its suffix, are refused before anything is written.
    EXPECT_FALSE(commitTogether(journal, { { dir.file("sub/x.ini"), "x" } }));
    EXPECT_FALSE(commitTogether(dir.file("journal"), { { dir.file("x.ini"), "x" } }));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "mname.ini", "mpath.ini" }));
}

TEST(CommitTogether, ACommitCutShortIsFinishedOrDroppedAsAUnit)
{
    // Each row of cut_commits.tsv is the folder as a kill at one moment of a commit leaves it
    // (old pair "1", new pair "2"), named by the moment: the journal ("none", "decided" or its bytes),
    // whether the new path and name files still wait beside their targets, the targets before
    // completion and the pair after it.
    for (const auto& row : testing_support::testRows("platform/cut_commits.tsv", true)) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        writeBytes(dir.path() / "mpath.ini", row.at(3));
        writeBytes(dir.path() / "mname.ini", row.at(4));
        if (row[1] == "1")
            writeBytes(dir.path() / ".mpath.ini.commit-new", "2");
        if (row[2] == "1")
            writeBytes(dir.path() / ".mname.ini.commit-new", "2");
        if (row[0] != "none")
            writeBytes(dir.path() / ".mlist.commit",
                row[0] == "decided" ? "zelvora commit 1\nmpath.ini\nmname.ini\n" : row[0]);
        completeCommit(dir.file(".mlist.commit"));
        EXPECT_EQ(readBytes(dir.path() / "mpath.ini"), row.at(5));
        EXPECT_EQ(readBytes(dir.path() / "mname.ini"), row.at(5));
        EXPECT_FALSE(fs::exists(dir.path() / ".mlist.commit"));
        // A new commit after the crash still wins over what the crash left.
        ASSERT_TRUE(commitTogether(
            dir.file(".mlist.commit"), { { dir.file("mpath.ini"), "3" }, { dir.file("mname.ini"), "3" } }));
        EXPECT_EQ(readBytes(dir.path() / "mname.ini"), "3");
        EXPECT_EQ(readBytes(dir.path() / "mpath.ini"), "3");
    }
}

TEST(StaleTemporaries, OnlyOldOnesNoProcessHoldsAreRemoved)
{
    TempDir dir;
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const auto future = fs::file_time_type::clock::now() + std::chrono::hours(1);
    const auto rows = testing_support::testRows("platform/stale_temporaries.tsv", true);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(dir.path() / row[0], "x");
        fs::last_write_time(dir.path() / row[0], row[1] == "1" ? past : future);
    }
    std::ifstream held(dir.path() / ".held.tmp1");
    ASSERT_TRUE(held);
    EXPECT_EQ(removeStaleTemporaries(dir.path().string(), isTemporaryName), 5);
    for (const auto& row : rows)
        EXPECT_EQ(fs::exists(dir.path() / row[0]), row[2] != "1") << row.name;
    // Beside the user's files only partial downloads count.
    writeBytes(dir.path() / ".zelvora-1.part", "x");
    fs::last_write_time(dir.path() / ".zelvora-1.part", past);
    EXPECT_EQ(removeStaleTemporaries(dir.path().string(), isProgramTemporaryName), 1);
    EXPECT_TRUE(fs::exists(dir.path() / "mpath.ini"));
}

TEST(StaleTemporaries, NewFilesOfAPendingCommitAreKeptForIt)
{
    TempDir dir;
    writeBytes(dir.path() / ".mlist.commit", "zelvora commit 1\nmpath.ini\n");
    writeBytes(dir.path() / ".mpath.ini.commit-new", "2");
    fs::last_write_time(
        dir.path() / ".mpath.ini.commit-new", fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(removeStaleTemporaries(dir.path().string(), isTemporaryName), 0);
    completeCommitsIn(dir.path().string());
    EXPECT_EQ(readBytes(dir.path() / "mpath.ini"), "2");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "mpath.ini" });
}
