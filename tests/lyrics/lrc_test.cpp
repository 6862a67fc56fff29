#include <gtest/gtest.h>

#include "lyrics/lrc.h"
#include "platform/charset_detect.h"
#include "platform/codec.h"

namespace {

// The lines as "ms|text|translation|word ms:word,...".
std::vector<std::string> shown(const lyrics::Lyrics& l)
{
    std::vector<std::string> out;
    for (const lyrics::Line& line : l.lines) {
        std::string words;
        for (const lyrics::Word& w : line.words)
            words += std::to_string(w.ms) + ":" + w.text + ",";
        out.push_back(std::to_string(line.ms) + "|" + line.text + "|" + line.translation + "|" + words);
    }
    return out;
}

} // namespace

TEST(Lrc, FilesFoundInTheWildAreReadWhole)
{
    // A GB18030 file with an offset, word times and a translation under each line; the same
    // lyrics in UTF-16 with a byte-order mark and two time tags on one line (a chorus).
    const std::string gb
        = "[ti:晴天]\r\n[offset:+200]\r\n[00:01.50]<00:01.50>故<00:02.00>事的<00:02.80>小黄花\r\n"
          "[00:01.50]The story of the little yellow flower\r\n[00:05.00]从出生那年就飘着\r\n"
          "[00:05.00]Floating since the year it was born\r\n";
    EXPECT_EQ(shown(lyrics::parseLrc(platform::decodeDetected(platform::encode(gb, "GB18030")))),
        (std::vector<std::string> {
            "1300|故事的小黄花|The story of the little yellow flower|1300:故,1800:事的,2600:小黄花,",
            "4800|从出生那年就飘着|Floating since the year it was born|" }));
    const std::string chorus = "[ar:周杰伦]\n[00:10.00][01:10.5]刮风这天\n[00:20.123]我试过握着你手\n";
    const lyrics::Lyrics sung
        = lyrics::parseLrc(platform::decodeDetected("\xFF\xFE" + platform::encode(chorus, "UTF-16LE")));
    EXPECT_EQ(shown(sung),
        (std::vector<std::string> { "10000|刮风这天||", "20123|我试过握着你手||", "70500|刮风这天||" }));
    // The line being sung at a time, and the lyrics as plain text.
    EXPECT_EQ(lyrics::lineAt(sung, 9999), -1);
    EXPECT_EQ(lyrics::lineAt(sung, 20123), 1);
    EXPECT_EQ(lyrics::lineAt(sung, 600000), 2);
    EXPECT_EQ(lyrics::plainText(sung), "刮风这天\n我试过握着你手\n刮风这天\n");
}

TEST(Lrc, LyricsWithoutValidTimes)
{
    // Plain lyrics are shown as they are, untimed; broken tags and times never crash.
    const lyrics::Lyrics plain = lyrics::parseLrc("晴天\n\n故事的小黄花\n");
    EXPECT_FALSE(plain.timed());
    EXPECT_EQ(shown(plain), (std::vector<std::string> { "-1|晴天||", "-1|故事的小黄花||" }));
    EXPECT_EQ(lyrics::lineAt(plain, 1000), -1);
    for (const char* broken :
        { "[00:1x.00]a", "[", "[00:01.00", "[99999:99.999]<", "[offset:zz]\n[00:01]a<00:0" })
        lyrics::parseLrc(broken);
    EXPECT_EQ(shown(lyrics::parseLrc("[offset:-500]\n[00:01]a<00:0")),
        (std::vector<std::string> { "1500|a<00:0||" }));
}

TEST(Lrc, HowMuchOfALineIsSung)
{
    // Word by word in characters, a word filling over its own time; a line without word times
    // all at once; nothing before the line starts.
    const lyrics::Lyrics l
        = lyrics::parseLrc("[00:01.00]<00:01.00>故<00:02.00>事的<00:04.00>小黄花\n[00:02]晴天\n");
    const lyrics::Line& words = l.lines[0];
    const std::vector<std::pair<int, double>> rows { { 500, 0.0 }, { 1000, 0.0 }, { 1500, 1.0 / 12 },
        { 2000, 1.0 / 6 }, { 3000, 2.0 / 6 }, { 5000, 4.5 / 6 }, { 6000, 1.0 }, { 9000, 1.0 } };
    for (const auto& [ms, share] : rows)
        EXPECT_NEAR(lyrics::sungShare(words, ms, 6000), share, 1e-9) << ms;
    EXPECT_EQ(lyrics::sungShare(l.lines[1], 1999, 9000), 0.0);
    EXPECT_EQ(lyrics::sungShare(l.lines[1], 2000, 9000), 1.0);
}
