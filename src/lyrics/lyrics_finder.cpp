#include "lyrics/lyrics_finder.h"

#include <cctype>
#include <filesystem>

#include "common/json_reader.h"
#include "platform/charset_detect.h"
#include "platform/media_tags.h"
#include "platform/network.h"
#include "platform/textfile.h"

namespace lyrics {

namespace {

namespace fs = std::filesystem;

// Lyrics files are small; anything larger is not one.
constexpr size_t kMaxLyricsBytes = size_t { 1024 } * 1024;

// The lyrics of a file, when it is a readable regular file holding some.
bool readFrom(const std::string& path, Found& found)
{
    const auto bytes = platform::readFile(path, kMaxLyricsBytes);
    if (!bytes)
        return false;
    found.text = platform::decodeDetected(*bytes);
    found.lyrics = parseLrc(found.text);
    if (found.lyrics.empty())
        return false;
    found.from = path;
    return true;
}

// "artist - title" as a single safe file name, or empty when the tags have no title.
std::string tagName(const platform::SongTags& tags)
{
    if (tags.title.empty())
        return {};
    std::string name = tags.artist.empty() ? tags.title : tags.artist + " - " + tags.title;
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == '\0')
            c = '_';
    }
    return name.front() == '.' ? "_" + name : name;
}

std::string queryValue(std::string_view text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// Asks the provider; the LRC text (synchronised lyrics first, else the plain ones), or empty
// with why in failure.
std::string askProvider(const std::string& provider, const platform::SongTags& tags,
    platform::Network& network, std::string& failure)
{
    std::string url = provider;
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    url += "/api/get?artist_name=" + queryValue(tags.artist) + "&track_name=" + queryValue(tags.title)
        + "&album_name=" + queryValue(tags.album) + "&duration=" + std::to_string(tags.seconds);
    const platform::HttpResponse response = network.get(url);
    if (response.status == 404)
        return {};
    const auto answer
        = response.completed && response.status == 200 ? common::json::parse(response.body) : std::nullopt;
    if (!answer) {
        failure = response.completed ? "HTTP " + std::to_string(response.status) : "no answer";
        return {};
    }
    const common::json::Value song = answer->root();
    const std::string synced = song["syncedLyrics"].str();
    return synced.empty() ? song["plainLyrics"].str() : synced;
}

} // namespace

Found findLyrics(const std::string& songPath, const platform::SongTags& tags, const Sources& sources,
    platform::Network* network)
{
    Found found;
    const fs::path song(songPath);
    const std::string stem = song.stem().string();
    const std::string named = tagName(tags);
    if (readFrom((song.parent_path() / (stem + ".lrc")).string(), found))
        return found;
    for (const fs::path& folder : { song.parent_path() / kFolderName, fs::path(sources.profileFolder) }) {
        if (folder.empty())
            continue;
        for (const std::string& name : { stem, named }) {
            if (!name.empty() && readFrom((folder / (name + ".lrc")).string(), found))
                return found;
        }
    }
    if (!tags.lyrics.empty()) {
        found.text = tags.lyrics;
        found.lyrics = parseLrc(tags.lyrics);
        found.from = "tags";
        return found;
    }
    if (!network || sources.provider.empty() || named.empty() || sources.profileFolder.empty())
        return found;
    const fs::path none = fs::path(sources.profileFolder) / (named + ".none");
    if (platform::fileExists(none.string()))
        return found;
    const std::string text = askProvider(sources.provider, tags, *network, found.failure);
    if (!found.failure.empty())
        return found;
    std::error_code ec;
    fs::create_directories(sources.profileFolder, ec);
    const fs::path kept = text.empty() ? none : fs::path(sources.profileFolder) / (named + ".lrc");
    // Not kept, the song's lyrics are only asked for again next time.
    std::ignore = platform::writeFileAtomic(kept.string(), text);
    found.text = text;
    found.lyrics = parseLrc(text);
    if (!found.lyrics.empty())
        found.from = sources.provider;
    return found;
}

} // namespace lyrics
