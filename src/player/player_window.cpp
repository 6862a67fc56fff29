#include "player/player_window.h"

#include "shell/feature_window.h"

namespace zelvora {

Form5::Form5(rt::App& app)
    : rt::Form(app, "Form5")
{
    setupFeatureWindow(*this, "在线影音");
    Timer5.onTimer = [this] { Timer5_Timer(); };
}

SkinnedWindow Form5::skin()
{
    SkinnedWindow w{*this, Text8, Text7, {&List1, &List4, &List6, &List7}};
    w.recreatesFile = true;
    return w;
}

void Form5::load()
{
    ApplySkinOnLoad(skin());
}

void Form5::Timer5_Timer()
{
    RefreshSkin(skin(), Timer5);
}

}  // namespace zelvora
