#pragma once
// The lyrics on a song's card: the lines around the one being sung, that one highlighted,
// translations under their lines; untimed lyrics as plain text from the top.
#include <QColor>
#include <QRect>
#include <vector>

#include "lyrics/lrc.h"

class QPainter;

namespace gui {

// A line as drawn, and where in the song it is sung (-1 for untimed lyrics).
struct LyricRow {
    QRect rect;
    int ms = -1;
};

// The colour of the line being sung.
QColor sungColour(const QColor& background);

// Draws the lyrics in area with ink, line `current` (-1: none) in the sung colour and placed at
// the middle where the lines before and after allow; returns the lines drawn.
struct CardInk {
    QColor ink;
    QColor sung;
    int fontPx = 16;
};
std::vector<LyricRow> paintCardLyrics(
    QPainter& painter, const QRect& area, const lyrics::Lyrics& lyrics, int current, const CardInk& look);

// Where a click at y lands: the time of the line drawn there, or -1.
int lyricAt(const std::vector<LyricRow>& rows, const QPoint& at);

} // namespace gui
