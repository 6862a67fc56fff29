// Playlist files as other players write them, read back; and our own files read again.
#include <gtest/gtest.h>

#include <map>

#include "player/playlist_formats.h"
#include "support/temp_dir.h"

namespace pl = player::playlists;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries flat(const std::vector<pl::Entry>& entries)
{
    Entries out;
    for (const auto& e : entries)
        out.emplace_back(e.location, e.title);
    return out;
}

TEST(PlaylistFormats, OtherPlayersFilesAreRead)
{
    // Files as a Windows player (extended M3U, CR LF, BOM), a radio site (PLS with gaps and
    // titles out of order) and a desktop player (XSPF with URIs and extensions) write them:
    // each row of formats.tsv is a file under tests/data/player and one entry read from it.
    std::map<std::string, Entries> expected;
    for (const auto& row : testing_support::testRows("player/formats.tsv"))
        expected[row.at(0)].emplace_back(row.at(1), row.size() > 2 ? row[2] : "");
    for (const auto& [file, entries] : expected) {
        SCOPED_TRACE(file);
        const std::string text = testing_support::readBytes(testing_support::testData("player/" + file));
        EXPECT_EQ(flat(pl::read(pl::formatOf(file, text), text)), entries);
    }
    const std::string junk = std::string("\0\xff\x01\x02", 4) + std::string(70000, 'z') + "\n";
    EXPECT_TRUE(pl::read(pl::formatOf("x.m3u", junk), junk).empty());
    // A document declaring entities is refused whole: nothing of it is expanded.
    const std::string laughs
        = "<?xml version=\"1.0\"?><!DOCTYPE p [<!ENTITY a \"aaaaaaaa\">"
          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><playlist><trackList><track>"
          "<location>http://h/x</location><title>&b;</title></track></trackList></playlist>";
    EXPECT_TRUE(pl::read(pl::Format::Xspf, laughs).empty());
}

TEST(PlaylistFormats, WrittenFilesReadBackWithDecodedAddresses)
{
    const std::vector<pl::Entry> entries
        = { { "/音乐/a b&c.mp3", "晨曲 & <x>" }, { "http://127.0.0.1/s?a=1&b=2", "" }, { "/v/%.mp4", "v" } };
    for (const char* name : { "o.m3u8", "o.pls", "o.xspf" }) {
        SCOPED_TRACE(name);
        auto back = pl::read(pl::formatOf(name), pl::write(pl::formatOf(name), entries));
        ASSERT_EQ(back.size(), entries.size());
        for (size_t i = 0; i < back.size(); ++i) {
            const std::string path = pl::localPathOfFileUri(back[i].location);
            EXPECT_EQ(path.empty() ? back[i].location : path, entries[i].location);
            EXPECT_EQ(back[i].title, entries[i].title);
        }
    }
    EXPECT_EQ(pl::localPathOfFileUri("file://localhost/a%2Fb%20c"), "/a/b c");
    EXPECT_EQ(pl::localPathOfFileUri("file://otherhost/a"), "");
    EXPECT_EQ(pl::localPathOfFileUri("file:///a%00b"), "");
    // Each row of resolve.tsv: an entry's location and the path it resolves to beside /m/l.
    for (const auto& row : testing_support::testRows("player/resolve.tsv"))
        EXPECT_EQ(pl::resolve(row.at(0), "/m/l"), row.at(1)) << row.name;
}

} // namespace
