#pragma once
// The skin every window wears: a background colour and optionally a background picture,
// kept in "ini.db", cached by the tray window and applied by each window.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/result.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace common {

inline constexpr const char* kDefaultColour = "11599360";
inline constexpr const char* kModePlain = "chun";
inline constexpr const char* kModePicture = "tu + chun";
inline constexpr int64_t kDefaultColourValue = 11599360;

// The three settings after damaged lines fell back to their defaults: a colour line that is
// not a number gives the default colour, a missing line its default value.
struct SkinLines {
    std::string colour;
    std::string picture;
    std::string mode;
};

// Reads "ini.db" into the tray window's List1 (cleared first).
void LoadSkinSettings(runtime::App& app);
// Lines 1 to 3 of the tray window's List1, with defaults for damaged or missing lines.
SkinLines skinLines(runtime::App& app);
// Rewrites "ini.db": colour, picture path, mode and, when wanted, the two notices; every line
// ended by CR LF, in the system code page, atomically.
platform::Status WriteSkinSettings(runtime::App& app, const std::string& colour, const std::string& picture,
    const std::string& mode, bool notices);
// The colour value of a colour text (the default colour when it is not a number).
int64_t colourValue(const std::string& text);

// Stretches a picture over a window by the painting rule: the whole picture at (0, 0), as
// wide as the window's inner width and as high as the hub, in pixels.
void paintSkinPicture(runtime::Form& window, const runtime::Picture& picture);

// What a skinned window hands to the shared skin procedures.
struct SkinnedWindow {
    SkinnedWindow(runtime::Form& w, runtime::TextBox& colour, runtime::TextBox& picture,
        std::vector<runtime::Control*> accentList = {})
        : window(w)
        , colourField(colour)
        , pictureField(picture)
        , accents(std::move(accentList))
    {
    }
    runtime::Form& window;
    runtime::TextBox& colourField;
    runtime::TextBox& pictureField;
    // Elements that take the colour as their background at load (the window itself when
    // listed in paintsOwnBackground).
    std::vector<runtime::Control*> accents;
    bool paintsOwnBackground = false;
    // Whether the load also refreshes the tray window's ini1..ini3.
    bool refreshesCache = false;
    // Whether the load gives the updater window the same look.
    bool styleUpdater = false;
    // Whether the skin timer re-creates a deleted "ini.db" from the cache.
    bool recreatesFile = false;
    // The window's own picture control that holds the skin picture it paints; the hub's when
    // none.
    runtime::Image* ownPicture = nullptr;
    // Extra work of the window's skin timer after the shared steps (the player recolours
    // its lists).
    std::function<void()> extraRefresh;
};

// The skin step of a window's load.
void ApplySkinOnLoad(const SkinnedWindow& w);
// The body of a window's one-shot skin timer; switches the timer off.
void RefreshSkin(const SkinnedWindow& w, runtime::Timer& timer);
// Makes the settings window's three labels transparent (picture mode) or opaque.
void setSettingsLabelsTransparent(runtime::App& app, bool transparent);
// Gives the updater window the look of the skin.
void styleUpdaterWindow(
    runtime::App& app, const std::string& mode, const std::string& colour, const std::string& picture);

} // namespace common
