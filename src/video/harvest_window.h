#pragma once
#include <string>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace platform {
class MediaCache;
struct Status;
} // namespace platform

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
    void reportSuccess(const HarvestTally& tally, const platform::Status& notes);
    void reportFailure(const std::string& why);
    // Tells the user why nothing was harvested and leaves the updater window to be closed.
    void endWithout(const std::string& word, const std::string& text, int icon);
};

// The desktop folder the program downloads into.
inline constexpr const char* kDownloadFolder = "Zelvora下载区";
// The notes file beside the harvested songs.
inline constexpr const char* kNotesFile = "使用说明.txt";
// What a harvest that found no song says, and the word the updater window shows then.
inline constexpr const char* kNothingHarvested
    = "缓存中没有可以下载的歌曲，请先在“急速音乐”里听完想要的歌曲再来下载";
inline constexpr const char* kNothingTitle = "没有歌曲";

} // namespace video
