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

bool newerBuild(const std::string& published, const std::string& local)
{
    const auto whole = [](const std::string& t) {
        return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    // Designed: build numbers compare as text, so "9" would be newer than "13".
    if (!whole(published) || !whole(local))
        return published > local;
    // Sound: two whole numbers compare as numbers, of any length: without their leading zeros
    // the longer one is larger, and digits of equal length compare as text.
    const auto digits = [](const std::string& t) {
        const size_t first = t.find_first_not_of('0');
        return first == std::string::npos ? std::string() : t.substr(first);
    };
    const std::string a = digits(published);
    const std::string b = digits(local);
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}

} // namespace shell
