#include "toolbox/toolbox_window.h"

#include "common/feature_window.h"

namespace toolbox {

tool::tool(runtime::App& app)
    : runtime::Form(app, "tool")
{
    common::setupFeatureWindow(*this, "工具箱");
    Timer5.onTimer = [this] { Timer5_Timer(); };
}

common::SkinnedWindow tool::skin()
{
    common::SkinnedWindow w { *this, Text3, Text4, {} };
    w.styleUpdater = true;
    w.recreatesFile = true;
    return w;
}

void tool::load()
{
    common::ApplySkinOnLoad(skin());
}

void tool::Timer5_Timer()
{
    common::RefreshSkin(skin(), Timer5);
}

} // namespace toolbox
