#pragma once
// The songs and videos a browser keeps in its cache: listing them, copying one out and
// removing it. Two caches stand behind this: a folder in the browser's designed layout (one
// level of subfolders under "Content.IE5") and the program's own web engine.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

// One cached media entry.
struct CachedMedia {
    // The 1-based number of the cache subfolder the entry lies in (copies are numbered by it).
    int group = 0;
    // Where the entry comes from: a file path, or the address the page loaded it from.
    std::string source;
    // The dot and the extension as the source writes it (".mp3", ".M4A").
    std::string extension;
    // The song's own name when the page gave one, without extension; empty when unknown.
    std::string title;
    // The entry's size in bytes; -1 when the cache does not know it before the copy.
    long long size = -1;
    // When the entry was last written, in nanoseconds since the epoch; -1 when unknown.
    int64_t modified = -1;
    // The file that holds the entry's bytes when the cache keeps them in one; empty otherwise.
    std::string file;
};

// How copying or removing an entry went.
enum class MediaStep {
    Done,
    // The entry is still being written, or was written since it was listed: left alone.
    Changed,
    Failed,
};

// What a cache holds.
struct MediaListing {
    // Names of the cache subfolders, in the order the entries' groups number them.
    std::vector<std::string> groups;
    // The complete media entries.
    std::vector<CachedMedia> entries;
    // Media the cache holds only in part (still loading, or a range of it): left out.
    int partial = 0;
    // Whether the cache could be read at all; the reason when not.
    Status status = Status::success();
};

class MediaCache {
public:
    virtual ~MediaCache() = default;
    // The media entries the cache holds now.
    virtual MediaListing list() = 0;
    // Copies the entry's bytes into a new file at target, which appears only complete and
    // only when the copy has the entry's full size.
    virtual MediaStep copy(const CachedMedia& entry, const std::string& target) = 0;
    // Removes the entry from the cache, unless it changed since it was listed.
    virtual MediaStep remove(const CachedMedia& entry) = 0;
};

// The cache in the designed folder layout under root (root + "/Content.IE5" in the caller's
// terms): each subfolder of root is a group, and its files whose names end, in any case,
// in M4A, MP3, AAC or FLV are the entries.
std::unique_ptr<MediaCache> folderMediaCache(const std::string& root);

// Whether a name's last three characters, upper-cased, are M4A, MP3, AAC or FLV.
bool isMediaName(const std::string& name);
// The extension of a media name as written: its last four characters when they are a dot
// and the extension, else a dot and the last three.
std::string mediaExtension(const std::string& name);
// The extension that stands for a media type ("audio/mpeg" gives ".mp3"); empty for others.
std::string extensionForMediaType(const std::string& mediaType);

// A digest of the first bytes of a file with its size, to find copies with the same bytes
// quickly; 0 when the file cannot be read.
uint64_t fileFingerprint(const std::string& path);
// Whether two files hold exactly the same bytes.
bool sameFileBytes(const std::string& a, const std::string& b);

} // namespace platform
