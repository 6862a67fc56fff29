// Seed files: reading their links, adding a dropped seed's folder to the video list and
// opening seeds and stream links in the plug-in pages.
#include "player/seed_files.h"
#include "player_fixture.h"
#include "runtime/vbtext.h"

using namespace player_testing;

namespace {

// UTF-16 little-endian bytes of a UTF-8 text, after an optional byte-order mark.
std::string utf16le(const std::string& utf8, bool mark = true)
{
    std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t c : vb::toUtf16(utf8)) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

const std::string kQsed
    = "<?xml version=\"1.0\"?>\r\n<qvod>\r\n<ref href=\"qvod://123|ABC|film.rmvb|\"/>\r\n</qvod>\r\n";

} // namespace

TEST(SeedFiles, SeedTextsGiveTheirLinks)
{
    // Each row of seeds.tsv: the reader (free-form fields joined, the link of a qsed or of a
    // bsed text), the text, and what it gives ("!" for no link).
    for (const auto& row : testing_support::testRows("player/seeds.tsv", true)) {
        SCOPED_TRACE(row.name);
        const std::string text = row.size() > 1 ? row[1] : "";
        const std::string want = row.size() > 2 ? row[2] : "";
        if (row[0] == "join") {
            EXPECT_EQ(player::seeds::joinFreeFormFields(text), want);
            continue;
        }
        const auto link = row[0] == "qsed" ? player::seeds::qsedLink(text) : player::seeds::bsedLink(text);
        EXPECT_EQ(link.value_or("!"), want);
    }
}

TEST(SeedFiles, UnicodeTextReadsAsNarrowText)
{
    // The bytes of a file and the text read from it: marked, unmarked, empty, an odd length.
    const struct {
        const char* name;
        std::string bytes, text;
    } rows[] = {
        { "marked_full_width", utf16le("ｓｅｅｄｓ＿ｈｒｅｆ　影片１２３"), "seeds_href 影片123" },
        { "unmarked", utf16le("xseeds", false), "seeds" },
        { "empty", "", "" },
        { "odd_length",
            std::string("\xFF\xFE"
                        "a\0b",
                5),
            "a" },
    };
    testing_support::TempDir dir;
    for (const auto& row : rows) {
        writeBytes(dir.file("a.bsed"), row.bytes);
        EXPECT_EQ(player::seeds::ReadUnicodeTextFile(dir.file("a.bsed")), row.text) << row.name;
    }
    EXPECT_EQ(player::seeds::ReadUnicodeTextFile(dir.file("missing.bsed")), "");
}

TEST_F(PlayerTest, DroppedSeedsOpenThroughTheirPlugInPages)
{
    const std::string torrent = makeMedia({ "b.TORRENT" }, "d8:announce");
    makeMedia({ "c.bsed" }, utf16le("{\"seeds_href\":[{\"url\":\"bdhd://99|片名.rmvb|\",\"n\":1}]}"));
    const std::string seed = makeMedia({ "a.qsed" }, kQsed);
    makeMedia({ "song.mp3" });
    player::Form5& f = player();
    f.Label5.click();
    drop({ seed });
    EXPECT_EQ(f.liebiao.text(), "视频列表");
    EXPECT_EQ(listFile("vname.ini"), crlf({ ">a.qsed", ">b.TORRENT", ">c.bsed" }));
    EXPECT_EQ(listFile("vpath.ini"), crlf({ seed, torrent, media("c.bsed") }));
    EXPECT_EQ(f.Text4.text(), "qvod://123|ABC|film.rmvb|");
    EXPECT_TRUE(holds(page(), "name=\"URL\" value=\"qvod://123|ABC|film.rmvb|\""));

    // Dropped again: neither added nor opened.
    f.WebBrowser3.write("untouched");
    drop({ seed });
    EXPECT_EQ(f.List1.listCount(), 3);
    EXPECT_EQ(page(), "untouched");

    // Double-clicked, a bsed opens its link and a torrent its path in their plug-in pages.
    doubleClick(2);
    EXPECT_EQ(f.Text4.text(), "bdhd://99|片名.rmvb|");
    EXPECT_TRUE(holds(page(), "02E2D748-67F8-48B4-8AB4-0A085374BB99"));
    EXPECT_TRUE(holds(page(), "value=\"bdhd://99|片名.rmvb|\""));
    doubleClick(1);
    EXPECT_EQ(f.Text4.text(), torrent);
    EXPECT_TRUE(holds(page(), "value=\"" + torrent + "\""));
    EXPECT_TRUE(holds(page(), "F3D0D36F-23F8-4682-A195-74C92B03D4AF"));
}

TEST_F(PlayerTest, BrokenSeedsGiveTheEmptyPage)
{
    // Each row of broken_seeds.tsv: a seed file, its text, and "utf16" where it is stored so;
    // then a seed too large to read.
    auto rows = testing_support::testRows("player/broken_seeds.tsv", true);
    rows.push_back({ { "huge.qsed", std::string(size_t(50) << 20, 'q'), "" }, "too_large_to_read" });
    player::Form5& f = player();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string seed = makeMedia({ r[0] }, r.at(2) == "utf16" ? utf16le(r[1]) : r[1]);
        f.WebBrowser3.write("previous");
        f.Text4.setText(seed);
        f.zzl.start(1);
        p.app.runUntilIdle();
        EXPECT_EQ(page(), "");
    }
}
