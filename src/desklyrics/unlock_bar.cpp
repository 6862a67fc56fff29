#include "desklyrics/unlock_bar.h"

#include "desklyrics/desk_lyrics_window.h"
#include "runtime/app.h"

namespace desklyrics {

namespace {

// The window's size in pixels: one button the height of the lyrics bar's hover strip.
constexpr int kWidth = 64;
constexpr int kHeight = geci::kHoverHeight;

} // namespace

jiesuolan::jiesuolan(runtime::App& app)
    : runtime::Form(app, "jiesuolan")
{
    setCaption(geci::kUnlock);
    setScaleMode(runtime::ScaleMode::Pixels);
    setOwnChrome(true);
    setFloating(true);
    setWidth(kWidth * runtime::kTwipsPerPixel);
    setHeight(kHeight * runtime::kTwipsPerPixel);
    setBackColor(geci::kHoverBack);
    // A floating window draws only its controls; the button carries the bar's dark strip, so
    // it reads over any desktop where a compositor shows the window's clear parts.
    jie.move(0, 0, kWidth, kHeight);
    jie.setBackColor(geci::kHoverBack);
    jie.setCaption(kCaption);
    jie.setToolTipText(geci::kUnlock);
    jie.setAlignment(runtime::AlignCenter);
    jie.setForeColor(geci::kHoverText);
    jie.setBackStyle(runtime::Opaque);
    jie.onClick = [this] { jie_Click(); };
}

void jiesuolan::placeOver(int left, int top, int width)
{
    const int x = left + (width - kWidth * runtime::kTwipsPerPixel) / 2;
    if (x != this->left() || top != this->top())
        move(x, top);
}

void jiesuolan::jie_Click()
{
    // Unlocking hides this window again (the bar stops following the pointer).
    app().get<geci>().setLocked(false);
}

} // namespace desklyrics
