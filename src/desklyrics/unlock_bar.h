#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace desklyrics {

// The small bar that unlocks a locked desktop lyrics bar. The locked bar lets every click
// through to what lies below and gets no mouse events, so while the pointer rests over it
// this separate window shows over its top strip, with one button that takes clicks.
class jiesuolan : public runtime::Form {
public:
    explicit jiesuolan(runtime::App& app);

    static constexpr const char* kCaption = "解锁";

    runtime::Label jie { *this, "jie" };

    // Centres the window over the top strip of a bar at left, top of width (twips).
    void placeOver(int left, int top, int width);

    void jie_Click();
};

} // namespace desklyrics
