#include "platform/media_tags.h"

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tpropertymap.h>

#include <algorithm>
#include <cstdio>

#include "platform/charset_detect.h"
#include "platform/codec.h"
#include "platform/raw_tag_fields.h"
#include "platform/textfile.h"
#include "runtime/ascii.h"

namespace platform {

namespace {

// A tag text as UTF-8. A text of single-byte characters beyond ASCII is what a Latin-1 field
// (or a writer that put code page bytes in a wider one) holds: its bytes are read again.
std::string utf8Of(const TagLib::String& s)
{
    if (s.isLatin1() && !s.isAscii())
        return decodeSingleByteField(s.to8Bit(false));
    return s.stripWhiteSpace().to8Bit(true);
}

// Synchronised lyrics of an ID3v2 tag (SYLT timed in milliseconds) as LRC text.
std::string syncedLyricsOf(TagLib::ID3v2::Tag* tag)
{
    if (!tag)
        return {};
    for (TagLib::ID3v2::Frame* frame : tag->frameList("SYLT")) {
        auto* sylt = dynamic_cast<TagLib::ID3v2::SynchronizedLyricsFrame*>(frame);
        if (!sylt || sylt->timestampFormat() != TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds)
            continue;
        std::string out;
        for (const auto& line : sylt->synchedText()) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "[%02u:%02u.%02u]", line.time / 60000, line.time / 1000 % 60,
                line.time % 1000 / 10);
            out += stamp + runtime::trimmed(utf8Of(line.text)) + "\n";
        }
        if (!out.empty())
            return out;
    }
    return {};
}

// The lyrics TagLib maps to a property (ID3v2 USLT, Vorbis and APE LYRICS, MP4 ©lyr), or a
// Vorbis UNSYNCEDLYRICS field.
std::string plainLyricsOf(const TagLib::PropertyMap& properties)
{
    for (const char* key : { "LYRICS", "UNSYNCEDLYRICS" }) {
        const auto found = properties.find(key);
        if (found != properties.end() && !found->second.isEmpty())
            return utf8Of(found->second.front());
    }
    return {};
}

// Fields TagLib left empty that an APE tag or Vorbis comments hold as bytes that are not
// UTF-8 (TagLib drops such a field whole): read again from the stored bytes, as the Latin-1
// fields of ID3 are.
void recoverDroppedFields(const std::string& path, SongTags& out)
{
    const std::pair<std::string*, const char*> wanted[]
        = { { &out.title, "TITLE" }, { &out.artist, "ARTIST" }, { &out.album, "ALBUM" },
              { &out.lyrics, "LYRICS" }, { &out.lyrics, "UNSYNCEDLYRICS" } };
    const ByteSource file = fileSource(path);
    RawFields raw = vorbisFields(file);
    const RawFields ape = apeFields(file);
    raw.insert(raw.end(), ape.begin(), ape.end());
    for (const auto& [field, key] : wanted) {
        const auto found = std::find_if(raw.begin(), raw.end(),
            [key = key](const auto& f) { return f.first == key && !wellFormedUtf8(f.second); });
        if (field->empty() && found != raw.end())
            *field = field == &out.lyrics ? decodeSingleByteField(found->second)
                                          : runtime::trimmed(decodeSingleByteField(found->second));
    }
}

} // namespace

SongTags readSongTags(const std::string& path)
{
    SongTags out;
    // TagLib opens the file itself: only a regular file may reach it (a FIFO would block).
    if (probeFile(path) != ReadOutcome::Read)
        return out;
    TagLib::FileRef file(path.c_str(), true, TagLib::AudioProperties::Fast);
    if (file.isNull())
        return out;
    if (const TagLib::Tag* tag = file.tag()) {
        out.title = runtime::trimmed(utf8Of(tag->title()));
        out.artist = runtime::trimmed(utf8Of(tag->artist()));
        out.album = runtime::trimmed(utf8Of(tag->album()));
    }
    if (const TagLib::AudioProperties* audio = file.audioProperties())
        out.seconds = audio->lengthInSeconds();
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file.file()))
        out.lyrics = syncedLyricsOf(mpeg->ID3v2Tag());
    if (out.lyrics.empty())
        out.lyrics = plainLyricsOf(file.file()->properties());
    recoverDroppedFields(path, out);
    return out;
}

} // namespace platform
