#include "video/web_play_window.h"

#include "common/feature_window.h"

namespace video {

play::play(runtime::App& app)
    : runtime::Form(app, "play")
{
    common::setupFeatureWindow(*this, "正在播放");
}

} // namespace video
