#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace shell {

// The updater window: self-download of a new version, or the song harvest prompt.
class Form4 : public runtime::Form {
public:
    explicit Form4(runtime::App& app);
    void load() override;

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

    void Timer1_Timer();
    void Command3_Click();
};

// The text the music window puts into the updater's status line to turn it into the harvest
// prompt.
inline constexpr const char* kHarvestPromptText = "十秒秒杀所有歌曲？";

} // namespace shell
