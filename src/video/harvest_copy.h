#pragma once
// The copying part of the song harvest: unique names in the download folder, copies that
// are checked before their originals go, and songs with the same bytes kept once.
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
    // Songs whose bytes were already copied in this harvest.
    int duplicates = 0;
    // Copies that failed; their originals stay in the cache.
    int failed = 0;
    // Songs the cache holds only in part; left alone.
    int partial = 0;
};

class HarvestCopier {
public:
    // Copies into folder, which must exist.
    explicit HarvestCopier(std::string folder);

    // Copies entry out of cache. True when its bytes are now safely in the folder (copied,
    // or already there from an earlier entry of this harvest), so the original may go.
    bool take(platform::MediaCache& cache, const platform::CachedMedia& entry);
    const HarvestTally& tally() const { return m_tally; }
    // The copy's name: "未命名 - " + group, the song's own name when known, the extension;
    // " (2)", " (3)" ... before the extension when the name is taken.
    std::string nameFor(const platform::CachedMedia& entry);

private:
    std::string m_folder;
    HarvestTally m_tally;
    std::set<std::string> m_used;
    // The copies made, by size and fingerprint of their bytes.
    std::multimap<std::pair<long long, uint64_t>, std::string> m_copies;
};

} // namespace video
