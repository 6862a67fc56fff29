// The hub's update line: the check against the maker's update server and the hand-over to
// the update program or the portable edition's download page.
#include "common/data_folders.h"
#include "common/file_download.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/network.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "shell/hub_window.h"
#include "shell/version_file.h"
#include "traymenu/tray_window.h"

namespace shell {

namespace {

constexpr const char* kVersionFile = "update.ini";
constexpr const char* kUpdateProgram = "update.exe";

} // namespace

void moban::setUpdateLine(const char* suffix)
{
    Label1.setCaption("当前版本:" + app().get<traymenu::Form6>().xin.text() + "  " + suffix);
}

void moban::Label1_Click()
{
    const std::string offer = "当前版本:" + app().get<traymenu::Form6>().xin.text() + "  " + kUpdateAvailable;
    if (Label1.caption() != offer) {
        xin.start(1);
        setUpdateLine(kUpdateChecking);
        return;
    }
    platform::MessageBoxRequest ask;
    ask.text = "有新版本，是否更新？";
    ask.buttons = platform::YesNo;
    if (app().service<platform::Dialogs>().messageBox(ask) == platform::AnswerYes)
        startUpdate();
}

void moban::startUpdate()
{
    runtime::App& a = app();
    const std::string folder = a.service<platform::Environment>().programFolder();
    const std::string updater = platform::joinPath(folder, kUpdateProgram);
    auto& shell = a.service<platform::Shell>();
    if (platform::fileExists(updater)) {
        // Designed: an updater that does not start leaves the hub as it is, without a word.
        std::ignore = shell.start(updater, "", platform::StyleNormalNoFocus);
    } else {
        platform::MessageBoxRequest portable;
        portable.text = "您好，您的版本是绿色版，不需要在线更新，直接到官网下载即可";
        a.service<platform::Dialogs>().messageBox(portable);
        std::ignore = shell.open(a.service<platform::Config>().get("update_server") + "/Zelvora绿色版.exe",
            folder); // the desktop's browser reports its own trouble
    }
    // The update replaces this program: it ends at once, without the windows' unload work.
    a.end();
}

void moban::xin_Timer()
{
    runtime::App& a = app();
    const bool online = a.hasService<platform::Network>()
        && a.service<platform::Network>().checkConnection(a.service<platform::Config>().get("probe"));
    if (!online) {
        setUpdateLine(kUpdateOffline);
        xin.setEnabled(false);
        return;
    }
    common::EnsureTempFolder(a);
    const std::string file = common::dataPaths(a).temp + kVersionFile;
    const std::string codePage = common::codePage(a);
    traymenu::Form6& tray = a.get<traymenu::Form6>();
    if (!platform::fileExists(file))
        // Without it the check below reads no local version and offers the update.
        std::ignore = platform::writeLines(file, { tray.xin1.text() }, codePage);

    // Sound: the download replaces the file only when it completes, within a size a version
    // file can have, so a failed or oversized one leaves the previous build number in place.
    bool fetched = false;
    {
        common::CFileDownload download(a, a.service<platform::Network>());
        download.setLimits(common::kOwnDownloadSeconds, kVersionFileBytes);
        // Any failure reads as a failed check below; its reason is not shown.
        fetched
            = download.StartDownloading(a.service<platform::Config>().get("update_server") + "/xin.txt", file)
                  .ok();
    }

    // Sound: a fetch that failed, or an answer that is no version file, is reported as a
    // failed check, never as "already the latest version".
    const std::string published = fetched ? publishedBuild(file, codePage) : std::string();
    if (published.empty())
        setUpdateLine(kUpdateFailed);
    else
        setUpdateLine(newerBuild(published, tray.xin1.text()) ? kUpdateAvailable : kUpdateLatest);
    xin.setEnabled(false);
}

} // namespace shell
