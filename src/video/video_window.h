#pragma once
#include "common/skin.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace video {

// The video download window: resolves a video page address and downloads the video.
class Form2 : public runtime::Form {
public:
    explicit Form2(runtime::App& app);
    void load() override;

    runtime::TextBox Text3 { *this, "Text3" };
    runtime::CommandButton Command9 { *this, "Command9" };
    runtime::Label Label15 { *this, "Label15" };
    runtime::TextBox bgc { *this, "bgc" };
    runtime::TextBox bgt { *this, "bgt" };
    runtime::Timer Timer5 { *this, "Timer5" };

    void Timer5_Timer();

private:
    common::SkinnedWindow skin();
};

} // namespace video
