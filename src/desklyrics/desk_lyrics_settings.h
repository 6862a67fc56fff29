#pragma once
// What the desktop lyrics bar keeps between runs, in a file of its own in the data folder:
// whether it is shown and locked, where it is, its font size and its colours.
#include <string>
#include <vector>

namespace runtime {
class App;
}

namespace desklyrics {

inline constexpr const char* kSettingsFile = "desklyrics.ini";

// The font sizes (pixels) and colour schemes the bar's menu offers.
inline constexpr int kFontSizes[] = { 24, 32, 40 };
inline constexpr int kSchemes = 4;

struct DeskLyricsSettings {
    bool shown = false;
    bool locked = false;
    // The window's place in twips; -1 for the default place (centred near the bottom).
    int left = -1;
    int top = -1;
    // Indexes into kFontSizes and the colour schemes.
    int size = 1;
    int scheme = 0;
    bool operator==(const DeskLyricsSettings&) const = default;
};

// The settings from the file's "key=value" lines (shown, locked, left, top, size, scheme);
// missing, malformed or out-of-range values keep the defaults.
DeskLyricsSettings parseSettings(const std::vector<std::string>& lines);
std::vector<std::string> settingsLines(const DeskLyricsSettings& settings);

DeskLyricsSettings readSettings(const runtime::App& app);
// Writes the file; a failed write only loses this change.
void writeSettings(const runtime::App& app, const DeskLyricsSettings& settings);

} // namespace desklyrics
