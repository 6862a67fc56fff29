#pragma once
// Turns a decoded video frame into the picture drawn on screen in one pass: colour conversion
// and scaling together, straight to the size shown, on the CPU and without a graphics context.
#include <QImage>
#include <QSize>

class QVideoFrame;

namespace gui {

// Draws frame into out at size (out is reused when it has that size already). Planar and
// semi-planar 4:2:0 frames are converted here; other formats go through Qt's conversion.
// Returns false when the frame cannot be read.
bool scaleFrame(const QVideoFrame& frame, QSize size, QImage& out);

} // namespace gui
