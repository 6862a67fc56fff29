#pragma once
// The copying part of the song harvest: unique names in the download folder, copies that
// are checked before their originals go, and songs whose bytes the folder holds already
// kept once.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/media_cache.h"

namespace video {

// How one harvest went.
struct HarvestTally {
    int copied = 0;
    // Songs whose bytes the folder already held (from this harvest or an earlier one).
    int duplicates = 0;
    // Copies that failed; their originals stay in the cache.
    int failed = 0;
    // Songs the cache holds only in part, or that changed while they were taken; left alone.
    int partial = 0;
};

class HarvestCopier {
public:
    // Copies into folder, which must exist; the names and songs it holds are read once here.
    explicit HarvestCopier(std::string folder);

    // Takes entry out of cache: copies it unless the folder holds its bytes already, and then
    // removes the original if it is still the file that was copied. True when the original
    // went.
    bool take(platform::MediaCache& cache, const platform::CachedMedia& entry);
    [[nodiscard]] const HarvestTally& tally() const { return m_tally; }
    // The copy's name: "未命名 - " + group, the song's own name when known, the extension;
    // " (2)", " (3)" ... before the extension when the name is taken.
    std::string nameFor(const platform::CachedMedia& entry);

private:
    using Key = std::pair<long long, uint64_t>;
    // A song in the folder with the same bytes as file (of this size and fingerprint).
    const std::string* sameSong(const std::string& file, const Key& key);
    // Removes the original of a song that is now in the folder.
    bool removeOriginal(platform::MediaCache& cache, const platform::CachedMedia& entry, int& count);
    void release(const std::string& name);

    std::string m_folder;
    HarvestTally m_tally;
    // Every name the folder holds, and the next number to try for each name taken.
    std::set<std::string> m_used;
    std::map<std::string, int> m_nextNumber;
    // The songs in the folder: by size alone until one of that size is looked for, then by
    // size and fingerprint.
    std::multimap<long long, std::string> m_unprinted;
    std::multimap<Key, std::string> m_songs;
};

} // namespace video
