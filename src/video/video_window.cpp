#include "video/video_window.h"

#include "shell/feature_window.h"

namespace zelvora {

Form2::Form2(rt::App& app)
    : rt::Form(app, "Form2")
{
    setupFeatureWindow(*this, "视频下载");
    Text3.move(40, 60, 700, 24);
    Command9.setCaption("解析");
    Command9.move(760, 60, 80, 24);
    Timer5.onTimer = [this] { Timer5_Timer(); };
}

SkinnedWindow Form2::skin()
{
    SkinnedWindow w { *this, bgc, bgt, { &Label15 } };
    w.refreshesCache = true;
    w.styleUpdater = true;
    return w;
}

void Form2::load()
{
    ApplySkinOnLoad(skin());
}

void Form2::Timer5_Timer()
{
    RefreshSkin(skin(), Timer5);
}

} // namespace zelvora
