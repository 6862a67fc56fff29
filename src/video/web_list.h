#pragma once
// A page yt-dlp answers with several entries (a playlist, a multi-part video): the entries'
// titles and addresses from its --flat-playlist answer, and the numbered names their
// downloads take.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/tool_run.h"

namespace runtime {
class App;
}

namespace video {

struct WebEntry {
    std::string title;
    std::string url;
};

// More entries than a person picks from; the rest of a longer list is left out.
inline constexpr size_t kMaxEntries = 5000;

// The entries of a playlist answer, in page order; nothing when the answer is a single video
// (or not an answer at all). Entries without an address are left out.
std::optional<std::vector<WebEntry>> readWebList(std::string_view json);
// Asks yt-dlp about a page (-J, a playlist's entries flat), with the web engine's cookies of
// its site; a minute at most, and stopped when keepGoing says no.
common::ToolRun askYtdlp(
    runtime::App& app, const std::string& address, const std::function<bool()>& keepGoing);
// The quality a login unlocks when yt-dlp's reason says the video needs one: the highest one
// it names ("1080P"), else "高清"; empty when the reason is not about a login.
std::string loginQuality(std::string_view reason);
// The name the download of entry `index` (from 0) of `count` takes: its number, as wide as
// the largest and at least two digits, then its title ("01 标题").
std::string numberedName(size_t index, size_t count, const std::string& title);

} // namespace video
