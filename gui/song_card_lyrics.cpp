#include "gui/song_card_lyrics.h"

#include "gui/contrast.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <initializer_list>

namespace gui {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

QColor sungColour(const QColor& background)
{
    // Gold on a dark skin, red or blue on a light one: the first that stands out.
    for (const QColor colour :
        { QColor(0xff, 0xd2, 0x3c), QColor(0xd0, 0x10, 0x3a), QColor(0x18, 0x46, 0xc8) }) {
        if (contrastRatio(colour, background) >= 3)
            return colour;
    }
    return readableOn(background, Qt::white);
}

std::vector<LyricRow> paintCardLyrics(
    QPainter& painter, const QRect& area, const lyrics::Lyrics& lyrics, int current, const CardInk& look)
{
    const int lineHeight = look.fontPx * 7 / 4;
    const int count = static_cast<int>(lyrics.lines.size());
    const auto heightOf = [&](int i) {
        return lineHeight
            + (lyrics.lines[static_cast<size_t>(i)].translation.empty() ? 0 : lineHeight * 4 / 5);
    };
    // The sung line in the middle; at the start and the end of the song the lines stay put
    // and the highlight moves.
    int first = std::clamp(current, 0, std::max(0, count - 1));
    for (int above = heightOf(first) / 2; first > 0 && above + heightOf(first - 1) <= area.height() / 2;)
        above += heightOf(--first);
    int below = 0;
    for (int i = first; i < count; ++i)
        below += heightOf(i);
    while (first > 0 && below + heightOf(first - 1) <= area.height())
        below += heightOf(--first);
    std::vector<LyricRow> rows;
    QFont font = painter.font();
    for (int i = first, y = area.top(); i < count && y + heightOf(i) <= area.bottom(); y += heightOf(i++)) {
        const lyrics::Line& line = lyrics.lines[static_cast<size_t>(i)];
        const QRect text(area.left(), y, area.width(), lineHeight);
        font.setPixelSize(look.fontPx);
        font.setBold(i == current);
        painter.setFont(font);
        painter.setPen(i == current ? look.sung : look.ink);
        painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter,
            QFontMetrics(font).elidedText(qs(line.text), Qt::ElideRight, area.width()));
        if (!line.translation.empty()) {
            font.setPixelSize(look.fontPx * 4 / 5);
            font.setBold(false);
            painter.setFont(font);
            painter.drawText(text.translated(0, lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                QFontMetrics(font).elidedText(qs(line.translation), Qt::ElideRight, area.width()));
        }
        rows.push_back({ QRect(area.left(), y, area.width(), heightOf(i)), line.ms });
    }
    return rows;
}

int lyricAt(const std::vector<LyricRow>& rows, const QPoint& at)
{
    for (const LyricRow& row : rows) {
        if (row.rect.contains(at))
            return row.ms;
    }
    return -1;
}

} // namespace gui
