#include "toolbox/toolbox_window.h"

#include "shell/feature_window.h"

namespace zelvora {

tool::tool(rt::App& app)
    : rt::Form(app, "tool")
{
    setupFeatureWindow(*this, "工具箱");
    Timer5.onTimer = [this] { Timer5_Timer(); };
}

SkinnedWindow tool::skin()
{
    SkinnedWindow w { *this, Text3, Text4, {} };
    w.styleUpdater = true;
    w.recreatesFile = true;
    return w;
}

void tool::load()
{
    ApplySkinOnLoad(skin());
}

void tool::Timer5_Timer()
{
    RefreshSkin(skin(), Timer5);
}

} // namespace zelvora
