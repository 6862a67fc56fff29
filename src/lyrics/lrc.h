#pragma once
// Lyrics as LRC files and song tags carry them: lines with the times they are sung at,
// optionally the time of each word, and a translation under a line.
#include <string>
#include <string_view>
#include <vector>

namespace lyrics {

// A part of a line from the moment it is sung (for lyrics with word times).
struct Word {
    int ms = 0;
    std::string text;
};

struct Line {
    // When the line is sung, in milliseconds from the start (the file's offset applied); -1
    // for untimed lyrics.
    int ms = -1;
    // The line's text, without its time tags.
    std::string text;
    // The line by words; empty when the file gives no word times.
    std::vector<Word> words;
    // A second line of the same time: the translation of this one.
    std::string translation;
};

struct Lyrics {
    // In time order (untimed lyrics in file order).
    std::vector<Line> lines;
    // Whether the lines carry times (lyrics that scroll with the song).
    [[nodiscard]] bool timed() const { return !lines.empty() && lines.front().ms >= 0; }
    [[nodiscard]] bool empty() const { return lines.empty(); }
};

// Lyrics of a text: LRC with one or several time tags on a line ("[01:02.50][02:10.00]text",
// minutes of any length, hundredths or thousandths), "[offset:±ms]" (a positive offset shows
// the lines earlier), word times ("<01:02.75>"), and two lines of the same time read as the
// original and its translation. Tag lines ("[ti:...]") are left out; a text without time tags
// gives its non-empty lines untimed.
Lyrics parseLrc(std::string_view text);

// The index of the line being sung at ms: the last line that starts at or before it; -1
// before the first line and for untimed lyrics.
int lineAt(const Lyrics& lyrics, int ms);

// How much of a line has been sung at ms, from 0 to 1, counted in characters: word by word as
// its word times say (a word filling over its own time, up to the next word or endMs, the time
// the line ends), the whole line at once when it has no word times.
double sungShare(const Line& line, int ms, int endMs);

// The lyrics as plain text, one line a line, translations under their lines.
std::string plainText(const Lyrics& lyrics);

} // namespace lyrics
