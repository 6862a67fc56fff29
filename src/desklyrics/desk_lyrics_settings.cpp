#include "desklyrics/desk_lyrics_settings.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "common/data_folders.h"
#include "platform/textfile.h"

namespace desklyrics {

namespace {

// The file is small: anything larger is not ours and is ignored.
constexpr size_t kMaxBytes = size_t { 64 } * 1024;
// A place far off every screen is not a place.
constexpr int kMaxTwips = 1000000;

// The text read as a whole number from low to high, nothing when it is anything else.
std::optional<int> numberIn(std::string_view text, int low, int high)
{
    int read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size() || read < low || read > high)
        return std::nullopt;
    return read;
}

} // namespace

DeskLyricsSettings parseSettings(const std::vector<std::string>& lines)
{
    DeskLyricsSettings s;
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string_view key = std::string_view(line).substr(0, eq);
        std::string_view text = std::string_view(line).substr(eq + 1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        // A value out of its range, or no number, changes nothing.
        if (key == "shown")
            s.shown = numberIn(text, 0, 1).value_or(s.shown ? 1 : 0) == 1;
        else if (key == "locked")
            s.locked = numberIn(text, 0, 1).value_or(s.locked ? 1 : 0) == 1;
        else if (key == "left")
            s.left = numberIn(text, -kMaxTwips, kMaxTwips).value_or(s.left);
        else if (key == "top")
            s.top = numberIn(text, -kMaxTwips, kMaxTwips).value_or(s.top);
        else if (key == "size")
            s.size = numberIn(text, 0, static_cast<int>(std::size(kFontSizes)) - 1).value_or(s.size);
        else if (key == "scheme")
            s.scheme = numberIn(text, 0, kSchemes - 1).value_or(s.scheme);
    }
    return s;
}

std::vector<std::string> settingsLines(const DeskLyricsSettings& s)
{
    return { "shown=" + std::to_string(int(s.shown)), "locked=" + std::to_string(int(s.locked)),
        "left=" + std::to_string(s.left), "top=" + std::to_string(s.top), "size=" + std::to_string(s.size),
        "scheme=" + std::to_string(s.scheme) };
}

DeskLyricsSettings readSettings(const runtime::App& app)
{
    std::vector<std::string> lines;
    if (platform::readLinesChecked(common::dataPaths(app).root + kSettingsFile, "UTF-8", lines, kMaxBytes)
        != platform::ReadOutcome::Read)
        lines.clear();
    return parseSettings(lines);
}

void writeSettings(const runtime::App& app, const DeskLyricsSettings& settings)
{
    common::EnsureDataFolders(app);
    // Designed: a file that cannot be written keeps what it held, and the lyrics read it as
    // it was the next time they load; the person is not asked about it.
    std::ignore
        = platform::writeLines(common::dataPaths(app).root + kSettingsFile, settingsLines(settings), "UTF-8");
}

} // namespace desklyrics
