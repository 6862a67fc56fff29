#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace platform {
class MediaCache;
}

namespace video {

struct HarvestTally;

// The song harvest: a worker without a face that, when loaded, copies the songs the browser
// cache holds into the desktop download folder and reports on the updater window.
class Form7 : public runtime::Form {
public:
    explicit Form7(runtime::App& app);
    void load() override;

    // The notes written beside the songs.
    runtime::TextBox Text1 { *this, "Text1" };
    // The cache subfolders found, and the cached files that were copied.
    runtime::ListBox List1 { *this, "List1" };
    runtime::ListBox List2 { *this, "List2" };

private:
    // Copies the songs, removes the originals and writes the notes; false (after telling the
    // user why) when the harvest cannot run at all.
    bool harvest();
    void reportSuccess(const HarvestTally& tally);
    void reportFailure(const std::string& why);
};

// The desktop folder the program downloads into.
inline constexpr const char* kDownloadFolder = "Zelvora下载区";
// The notes file beside the harvested songs.
inline constexpr const char* kNotesFile = "使用说明.txt";

} // namespace video
