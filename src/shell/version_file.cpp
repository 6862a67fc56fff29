#include "shell/version_file.h"

#include <algorithm>
#include <vector>

#include "platform/textfile.h"

namespace shell {

namespace {

constexpr size_t kVersionTextChars = 64;

// Sound: only a line of printable text is a build number. A binary or oversized version
// file counts as "no new version" instead of comparing its bytes.
bool plausibleBuild(const std::string& line)
{
    return !line.empty() && line.size() <= kVersionTextChars
        && std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

std::string publishedBuild(const std::string& path, const std::string& codePage)
{
    std::vector<std::string> lines;
    if (platform::readLinesChecked(path, codePage, lines, kVersionFileBytes) != platform::ReadOutcome::Read
        || lines.empty() || !plausibleBuild(lines.back()))
        return {};
    return lines.back();
}

} // namespace shell
