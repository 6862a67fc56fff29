#include "desklyrics/desk_lyrics_settings.h"

#include <charconv>
#include <string_view>

#include "common/data_folders.h"
#include "platform/textfile.h"

namespace desklyrics {

namespace {

// The file is small: anything larger is not ours and is ignored.
constexpr size_t kMaxBytes = 64 * 1024;
// A place far off every screen is not a place.
constexpr int kMaxTwips = 1000000;

bool numberIn(std::string_view text, int low, int high, int& value)
{
    int read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size() || read < low || read > high)
        return false;
    value = read;
    return true;
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
        int flag = 0;
        if (key == "shown" && numberIn(text, 0, 1, flag))
            s.shown = flag == 1;
        else if (key == "locked" && numberIn(text, 0, 1, flag))
            s.locked = flag == 1;
        else if (key == "left")
            numberIn(text, -kMaxTwips, kMaxTwips, s.left);
        else if (key == "top")
            numberIn(text, -kMaxTwips, kMaxTwips, s.top);
        else if (key == "size")
            numberIn(text, 0, static_cast<int>(std::size(kFontSizes)) - 1, s.size);
        else if (key == "scheme")
            numberIn(text, 0, kSchemes - 1, s.scheme);
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
