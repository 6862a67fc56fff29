#pragma once
// The qualities a video page offers in its own menu ("1080P", "720P", "4K"), read from the
// page as the program's network fetches it while yt-dlp resolves the same address: a page
// listing more than yt-dlp found offers the rest to a logged-in visitor.
#include <memory>
#include <string>
#include <string_view>

#include "video/web_formats.h"

namespace platform {
class PieceFetcher;
}
namespace runtime {
class App;
}

namespace video {

// The most of a page that is read; the rest of a longer (or endless) page is left out.
inline constexpr long long kMaxPageBytes = 4LL << 20;

// The height of the highest picture among the formats (0 when none says).
int bestHeight(const WebVideo& video);

// The highest quality name the page's text lists whose height is above bestHeight, as the
// page names it in capitals ("1080P", "4K"); empty when it lists none above (or bestHeight is
// 0: the resolved heights are unknown). The page's bytes may be in any of the usual charsets.
std::string qualityAboveBest(std::string_view page, int bestHeight);

// The page at an address, fetched side by side with other work: start it, let poll() move it
// on from the caller's wait, and take what arrived with bytes().
class PageFetch {
public:
    // Starts fetching address with the engine's cookies of its site; nothing happens where the
    // network cannot fetch side by side.
    PageFetch(runtime::App& app, const std::string& address);
    ~PageFetch();
    PageFetch(const PageFetch&) = delete;
    PageFetch& operator=(const PageFetch&) = delete;

    // Moves the fetch on, waiting at most waitMs for the network; a page grown past
    // kMaxPageBytes is stopped there.
    void poll(int waitMs = 0);
    // Waits at most waitMs for the page to end, then gives the bytes that arrived (at most
    // kMaxPageBytes; empty when the answer was a refusal).
    std::string bytes(int waitMs);

private:
    std::unique_ptr<platform::PieceFetcher> m_fetcher;
    std::string m_file;
    int m_id = 0;
    bool m_refused = false;
};

} // namespace video
