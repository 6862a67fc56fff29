#include <gtest/gtest.h>

#include "runtime/controls.h"
#include "support/temp_dir.h"

using testing_support::TempDir;
using testing_support::writeBytes;

TEST(FileList, ListsVisibleMatchingFilesSortedByName)
{
    TempDir dir;
    for (const char* name : { "b.mp3", "A.MP3", "c.Wav", ".hidden.mp3", "d.txt", "歌曲.mp3", "e.mp3.txt" })
        writeBytes(dir.path() / name, "x");
    std::filesystem::create_directory(dir.path() / "folder.mp3");
    const auto names = runtime::listMatchingFiles(dir.path().string(), "*.MP3;*.WAV");
    EXPECT_EQ(names, (std::vector<std::string> { "A.MP3", "b.mp3", "c.Wav", "歌曲.mp3" }));
    EXPECT_EQ(runtime::listMatchingFiles(dir.path().string(), "*.*").size(), 6u);
    EXPECT_TRUE(runtime::listMatchingFiles(dir.file("missing"), "*.*").empty());
}
