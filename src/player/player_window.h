#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"
#include "shell/skin.h"

namespace zelvora {

// The media player: music and video playlists, playback, play modes and seed files.
class Form5 : public rt::Form {
public:
    explicit Form5(rt::App& app);
    void load() override;

    rt::ListBox List1{*this, "List1"};
    rt::ListBox List4{*this, "List4"};
    rt::ListBox List6{*this, "List6"};
    rt::ListBox List7{*this, "List7"};
    rt::TextBox Text7{*this, "Text7"};
    rt::TextBox Text8{*this, "Text8"};
    rt::Timer Timer5{*this, "Timer5"};

    void Timer5_Timer();

private:
    SkinnedWindow skin();
};

}  // namespace zelvora
