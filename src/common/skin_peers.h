#pragma once
// The windows whose controls hold the skin's shared state. The shared skin procedures sit
// below every window and reach them only through this service, which the program's assembly
// provides; each call refers to its window, loading it on first use as any reference does.
#include <array>

namespace runtime {
class Form;
class Image;
class Label;
class ListBox;
class TextBox;
} // namespace runtime

namespace common {

class SkinPeers {
public:
    virtual ~SkinPeers() = default;
    // The tray window's cache: List1 with the lines of "ini.db", ini1..ini3 the cached
    // colour, picture and mode, Text4 the mode the settings window applied last.
    virtual runtime::ListBox& cacheLines() = 0;
    virtual std::array<runtime::TextBox*, 3> cacheFields() = 0;
    virtual runtime::TextBox& appliedMode() = 0;
    // The hub: Image3 holds the skin picture every window paints; the hub's height bounds it.
    virtual runtime::Image& hubPicture() = 0;
    virtual int hubHeight() = 0;
    // The settings window follows the skin with its picture and its three labels.
    virtual runtime::Form& settingsWindow() = 0;
    virtual std::array<runtime::Label*, 3> settingsLabels() = 0;
    // The updater window: its background and its status line.
    virtual runtime::Form& updaterWindow() = 0;
    virtual runtime::Label& updaterStatus() = 0;
};

} // namespace common
