#pragma once
#include "common/skin.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace toolbox {

// The toolbox: WiFi hotspot, broadband acceleration, local tools and web gadgets.
class tool : public runtime::Form {
public:
    explicit tool(runtime::App& app);
    void load() override;

    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    runtime::Timer Timer5 { *this, "Timer5" };

    void Timer5_Timer();

private:
    common::SkinnedWindow skin();
};

} // namespace toolbox
