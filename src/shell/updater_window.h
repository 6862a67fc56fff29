#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace common {
class CFileDownload;
}

namespace shell {

// The updater window: self-download of a new version, or the song harvest prompt.
class Form4 : public runtime::Form {
public:
    explicit Form4(runtime::App& app);
    ~Form4() override;
    void load() override;
    // However the window goes (its buttons, the desktop's close), the music window's harvest
    // button works again.
    void unloading() override;

    // Status line, progress bar of squares, or the harvest prompt.
    runtime::Label Label1 { *this, "Label1" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::CommandButton Command3 { *this, "Command3" };
    // The browser cache folder the harvest reads.
    runtime::TextBox Text1 { *this, "Text1" };
    // Start-up check and harvest watch.
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::Timer Timer2 { *this, "Timer2" };
    // The running self-download.
    std::unique_ptr<common::CFileDownload> oDownload;

    void Timer1_Timer();
    void Command1_Click();
    void oDownload_OnProgress(int64_t lProgress, int64_t lMaxProgress, int32_t lSpeed, int32_t lStatusCode,
        const std::string& sStatusText);
    void Command2_Click();
    void Timer2_Timer();
    void Command3_Click();
};

// The text the music window puts into the updater's status line to turn it into the harvest
// prompt.
inline constexpr const char* kHarvestPromptText = "十秒秒杀所有歌曲？";
// What the harvest writes on the harvest buttons and the status line when it is done.
inline constexpr const char* kHarvestDone = "下载成功";
inline constexpr const char* kHarvestDoneText = "恭喜您，下载成功！";
// What it writes when it could not run: the cancel button then closes the window.
inline constexpr const char* kHarvestFailed = "下载失败";
inline constexpr const char* kHarvestClose = "关闭";

} // namespace shell
