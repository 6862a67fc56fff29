#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"
#include "shell/skin.h"

namespace zelvora {

// The video download window: resolves a video page address and downloads the video.
class Form2 : public rt::Form {
public:
    explicit Form2(rt::App& app);
    void load() override;

    rt::TextBox Text3 { *this, "Text3" };
    rt::CommandButton Command9 { *this, "Command9" };
    rt::Label Label15 { *this, "Label15" };
    rt::TextBox bgc { *this, "bgc" };
    rt::TextBox bgt { *this, "bgt" };
    rt::Timer Timer5 { *this, "Timer5" };

    void Timer5_Timer();

private:
    SkinnedWindow skin();
};

} // namespace zelvora
