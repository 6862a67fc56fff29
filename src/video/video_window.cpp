#include "video/video_window.h"

#include "common/feature_window.h"

namespace video {

Form2::Form2(runtime::App& app)
    : runtime::Form(app, "Form2")
{
    common::setupFeatureWindow(*this, "视频下载");
    Text3.move(40, 60, 700, 24);
    Command9.setCaption("解析");
    Command9.move(760, 60, 80, 24);
    Timer5.onTimer = [this] { Timer5_Timer(); };
}

common::SkinnedWindow Form2::skin()
{
    common::SkinnedWindow w { *this, bgc, bgt, { &Label15 } };
    w.refreshesCache = true;
    w.styleUpdater = true;
    return w;
}

void Form2::load()
{
    common::ApplySkinOnLoad(skin());
}

void Form2::Timer5_Timer()
{
    common::RefreshSkin(skin(), Timer5);
}

} // namespace video
