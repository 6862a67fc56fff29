#include "video/harvest_window.h"

#include "common/data_folders.h"
#include "music/music_window.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/media_cache.h"
#include "platform/textfile.h"
#include "resources/resources.h"
#include "runtime/app.h"
#include "shell/updater_window.h"
#include "video/harvest_copy.h"

namespace video {

namespace {

constexpr const char* kCacheLayoutFolder = "Content.IE5";

// The notes text, one line per item.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

void tell(runtime::App& app, const std::string& title, const std::string& text, int icon)
{
    platform::MessageBoxRequest box;
    box.title = title;
    box.text = text;
    box.icon = icon;
    app.service<platform::Dialogs>().messageBox(box);
}

} // namespace

Form7::Form7(runtime::App& app)
    : runtime::Form(app, "Form7")
{
    setCaption("Form7");
    Text1.setMultiLine(true);
    Text1.setText(std::string(resources::get("harvest/notes.txt")));
    Text1.setVisible(false);
    List1.setVisible(false);
    List2.setVisible(false);
}

void Form7::load()
{
    harvest();
    hide();
}

bool Form7::harvest()
{
    runtime::App& a = app();
    const std::string desktop = a.service<platform::Environment>().desktopFolder();
    const std::string folder = platform::joinPath(desktop, kDownloadFolder);
    if (!platform::folderExists(desktop))
        platform::createFolder(desktop);
    if (!platform::folderExists(folder) && !platform::createFolder(folder)) {
        reportFailure("无法在桌面创建“Zelvora下载区”文件夹，请检查桌面文件夹是否可以写入");
        return false;
    }

    // The designed cache layout, and the program's own web engine where the front end has one.
    const std::string cacheFolder = a.get<shell::Form4>().Text1.text();
    const std::string root = platform::joinPath(cacheFolder, kCacheLayoutFolder);
    const std::unique_ptr<platform::MediaCache> layout = platform::folderMediaCache(root);
    platform::MediaCache* engine
        = a.hasService<platform::MediaCache>() ? &a.service<platform::MediaCache>() : nullptr;
    // Without a cache folder the layout is missing (never looked for in the current folder).
    platform::MediaListing listing;
    if (cacheFolder.empty())
        listing.status = platform::Status::failure("no cache folder");
    else
        listing = layout->list();
    // Sound: a missing cache folder is reported, not read as an empty cache.
    if (!listing.status && !engine) {
        reportFailure("没有找到浏览器缓存文件夹：" + root);
        return false;
    }
    for (const std::string& group : listing.groups)
        List1.addItem(group);

    // Sound: the notes are written first, so a notes file that cannot be written is told
    // apart from the songs, which are harvested all the same.
    const platform::Status notes = platform::writeLines(
        platform::joinPath(folder, kNotesFile), linesOf(Text1.text()), common::codePage(a));
    HarvestCopier copier(folder);
    auto harvestFrom
        = [&](platform::MediaCache& cache, const platform::MediaListing& found, int groupOffset) {
              for (platform::CachedMedia entry : found.entries) {
                  entry.group += groupOffset;
                  if (copier.take(cache, entry))
                      List2.addItem(entry.source);
                  a.doEvents();
              }
          };
    harvestFrom(*layout, listing, 0);
    int partial = listing.partial;
    if (engine) {
        const platform::MediaListing played = engine->list();
        harvestFrom(*engine, played, static_cast<int>(listing.groups.size()));
        partial += played.partial;
    }
    HarvestTally tally = copier.tally();
    tally.partial += partial;
    reportSuccess(tally, notes);
    return true;
}

void Form7::reportSuccess(const HarvestTally& tally, const platform::Status& notes)
{
    runtime::App& a = app();
    // Sound: a harvest that found no song says so instead of "下载成功".
    const bool harvested = tally.copied + tally.duplicates > 0;
    std::string text = harvested ? "下载成功，并存储在桌面“Zelvora下载区”文件夹内，请注意查收！"
                                 : std::string(kNothingHarvested);
    // Sound: songs left behind are counted, not passed over in silence.
    if (tally.partial > 0)
        text += "\n有" + std::to_string(tally.partial) + "首歌曲尚未缓存完毕，没有下载";
    if (tally.failed > 0)
        text += "\n有" + std::to_string(tally.failed) + "首歌曲无法复制，仍保留在缓存中";
    if (!notes)
        text += std::string("\n") + kNotesFile + "无法写入：" + notes.error;
    if (!harvested) {
        endWithout(kNothingTitle, text, platform::Information);
        return;
    }
    tell(a, "下载成功", text, platform::Information);
    shell::Form4& updater = a.get<shell::Form4>();
    updater.Command2.setCaption(shell::kHarvestDone);
    updater.Command3.setCaption(shell::kHarvestDone);
    updater.Label1.setCaption(shell::kHarvestDoneText);
    a.get<music::Form1>().Command1.setEnabled(true);
}

void Form7::reportFailure(const std::string& why)
{
    endWithout(shell::kHarvestFailed, why, platform::Exclamation);
}

void Form7::endWithout(const std::string& word, const std::string& text, int icon)
{
    runtime::App& a = app();
    tell(a, word, text, icon);
    // Sound: the updater window is left with a button that closes it.
    shell::Form4& updater = a.get<shell::Form4>();
    updater.Label1.setCaption(word);
    updater.Command2.setCaption(word);
    updater.Command3.setCaption(shell::kHarvestClose);
    updater.Command3.setEnabled(true);
    a.get<music::Form1>().Command1.setEnabled(true);
}

} // namespace video
