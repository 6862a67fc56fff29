#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace video {

// The web play window: plays a web video page in an embedded browser on top of the hub.
class play : public runtime::Form {
public:
    explicit play(runtime::App& app);

    // "y" while the window is open as the hub's "正在播放" child.
    runtime::TextBox Text1 { *this, "Text1" };
};

} // namespace video
