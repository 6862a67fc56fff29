#pragma once
// The program's own reading of a playing song's tags, for the song card and the desktop's
// player widgets: Chinese tags that older writers stored as code page bytes come out as
// Chinese, where the engine's own reading shows them as Latin-1 letters.
#include <QString>

#include "platform/media_tags.h"

namespace gui {

// The tags of a medium (a local path or a file URL; other addresses have none). The last
// medium's tags are kept, so asking again while it plays reads nothing.
const platform::SongTags& songTagsOf(const QString& medium);

// The first of the texts that is not empty (after trimming), else an empty text.
QString firstText(std::initializer_list<QString> texts);

} // namespace gui
