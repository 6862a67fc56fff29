// Playlist files as other players write them, read back; and our own files read again.
#include <gtest/gtest.h>

#include "player/playlist_formats.h"

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
    const struct {
        const char* what;
        const char* path;
        std::string text;
        Entries entries;
    } rows[] = {
        { "extended M3U of a Windows player, CR LF, BOM", "list.m3u",
            "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:215,Artist - 晨曲\r\nC:\\Music\\a.mp3\r\n\r\n#EXTINF:-1,Radio\r\n"
            "http://127.0.0.1/live\r\n..\\Other\\b.ogg\r\n",
            { { "C:\\Music\\a.mp3", "Artist - 晨曲" }, { "http://127.0.0.1/live", "Radio" },
                { "..\\Other\\b.ogg", "" } } },
        { "PLS with NumberOfEntries, gaps and titles out of order", "radio.PLS",
            "[playlist]\nNumberOfEntries=3\nTitle2=Second\nFile1=/m/a.mp3\nFile2=b.mp3\nFile7=file:///m/"
            "c%20d.ogg\n"
            "Length1=-1\nVersion=2\n",
            { { "/m/a.mp3", "" }, { "b.mp3", "Second" }, { "file:///m/c%20d.ogg", "" } } },
        { "XSPF with location URIs, titles and extensions", "a.xspf",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist xmlns=\"http://xspf.org/ns/0/\" "
            "xmlns:vlc=\"http://www.videolan.org/vlc/playlist/ns/0/\" version=\"1\">\n<title>List</title>\n"
            "<trackList>\n<track>\n<location>file:///home/u/%E6%99%A8%E6%9B%B2.mp3</location>\n"
            "<title>Rock &amp; Roll</title><duration>1000</duration>\n<extension application=\"x\">"
            "<vlc:id>0</vlc:id></extension></track>\n<track><location>http://h/s?a=1&amp;b=2</location></"
            "track>\n"
            "<track><title>nothing</title></track></trackList></playlist>\n",
            { { "file:///home/u/%E6%99%A8%E6%9B%B2.mp3", "Rock & Roll" }, { "http://h/s?a=1&b=2", "" } } },
        { "binary junk", "x.m3u", std::string("\0\xff\x01\x02", 4) + std::string(70000, 'z') + "\n", {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(flat(pl::read(pl::formatOf(row.path, row.text), row.text)), row.entries);
    }
}

TEST(PlaylistFormats, WrittenFilesReadBackAndFileUrisDecode)
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
    const std::pair<const char*, const char*> resolved[] = { { "..\\b\\c.mp3", "/m/b/c.mp3" },
        { "d/../e.ogg", "/m/l/e.ogg" }, { "file:///x/%E6%99%A8.mp3", "/x/晨.mp3" },
        { "C:\\a.mp3", "C:\\a.mp3" }, { "mms://h/s", "mms://h/s" }, { "file://h/a.mp3", "" } };
    for (const auto& [location, path] : resolved)
        EXPECT_EQ(pl::resolve(location, "/m/l"), path) << location;
}

} // namespace
