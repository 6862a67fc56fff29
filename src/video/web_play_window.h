#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace zelvora {

// The web play window: plays a web video page in an embedded browser on top of the hub.
class play : public rt::Form {
public:
    explicit play(rt::App& app);

    // "y" while the window is open as the hub's "正在播放" child.
    rt::TextBox Text1 { *this, "Text1" };
};

} // namespace zelvora
