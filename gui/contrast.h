#pragma once
// Captions that stay readable on any skin: the colour a caption is drawn in, chosen against
// what is really behind it (the skin colour, or the skin picture under it).
#include <QColor>
#include <QRect>

namespace runtime {
class Form;
}

namespace gui {

// The contrast ratio of two colours by their relative luminance: 1 (none) to 21.
double contrastRatio(const QColor& a, const QColor& b);
// The colour to draw text in on background: the designed colour where it keeps a contrast of
// at least 3:1, else black or white, whichever stands out more.
QColor readableOn(const QColor& background, const QColor& designed);
// The mean colour a form draws in rect (its own pixels): its background colour with its
// picture and its painted skin picture over it.
QColor formColourIn(const runtime::Form& form, const QRect& rect);

} // namespace gui
