#include "gui/song_tags.h"

#include <QUrl>

namespace gui {

const platform::SongTags& songTagsOf(const QString& medium)
{
    static QString last;
    static platform::SongTags tags;
    const QString path = medium.startsWith(QLatin1String("file:")) ? QUrl(medium).toLocalFile() : medium;
    if (path != last) {
        last = path;
        tags = path.startsWith(QLatin1Char('/')) ? platform::readSongTags(path.toStdString())
                                                 : platform::SongTags();
    }
    return tags;
}

QString firstText(std::initializer_list<QString> texts)
{
    for (const QString& text : texts) {
        if (!text.trimmed().isEmpty())
            return text.trimmed();
    }
    return {};
}

} // namespace gui
