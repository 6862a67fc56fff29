#include "video/web_play_window.h"

#include "shell/feature_window.h"

namespace zelvora {

play::play(rt::App& app)
    : rt::Form(app, "play")
{
    setupFeatureWindow(*this, "正在播放");
}

} // namespace zelvora
