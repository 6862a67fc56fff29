#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"
#include "shell/skin.h"

namespace zelvora {

// The toolbox: WiFi hotspot, broadband acceleration, local tools and web gadgets.
class tool : public rt::Form {
public:
    explicit tool(rt::App& app);
    void load() override;

    rt::TextBox Text3 { *this, "Text3" };
    rt::TextBox Text4 { *this, "Text4" };
    rt::Timer Timer5 { *this, "Timer5" };

    void Timer5_Timer();

private:
    SkinnedWindow skin();
};

} // namespace zelvora
