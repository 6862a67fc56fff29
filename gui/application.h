#pragma once
// Settings of the Qt application that every desktop program of ours shares (the program,
// the screenshot tool, the tests): Chinese texts, the CJK font, the icon.
#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace platform {
class Config;
}

namespace gui {

// The arguments to create the QApplication with: on a Wayland session the program runs
// through XWayland unless the person chose a platform (QT_QPA_PLATFORM, --platform) or there
// is no X display.
std::vector<char*> qtArguments(int argc, char** argv);
// Whether a Wayland compositor places the windows: natively, or through XWayland, where
// compositors differ (some keep an X window where the program puts it, others place it
// themselves and re-centre it when it moves itself). Call after the QApplication exists.
bool compositorPlacesWindows();
// Call right after: translations, fonts, the program's icon, life beyond the last window.
void setUpApplication(QApplication& app);
// The configuration: the file given (--config), else the one named by the environment, else
// the built-in defaults. Null, with a line on the error output, when a named file cannot be
// read; lines it cannot use are reported and skipped.
std::shared_ptr<platform::Config> loadConfiguration(const std::string& file);

} // namespace gui
