#pragma once
// How the runtime's looks become Qt's: colours, fonts, units and decoded pictures.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>

namespace runtime {
class Control;
class Form;
struct Picture;
} // namespace runtime

namespace gui {

// A colour value 0x00BBGGRR, or a system colour (0x800000nn) taken from the palette.
QColor toQColor(int64_t value);

// A font of the given face (Chinese faces fall back to the CJK font), size in points at the
// 96 dots per inch the windows were laid out for, and weight.
QFont toQFont(const std::string& family, double points, bool bold);

// UTF-8 text to a QString and back.
inline QString qs(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

// A control's alignment (left, right, centre) as Qt's horizontal alignment.
Qt::Alignment alignmentOf(int alignment);

// The factor from the pixels the windows were designed in to the screen's: 1, or less where
// the designed window group does not fit the screen's work area (the whole program shrinks
// alike: windows, controls, fonts and pictures).
double zoom();
void setZoom(double factor);
// Whole-window twips as screen pixels at the zoom, and back.
int screenPixelsOf(int twips);
int twipsOf(int screenPixels);
// Draws a picture at its own size, zoomed, with its top left corner at the origin.
void drawZoomedPixmap(QPainter& painter, const QPixmap& pixmap);

// Pixels in one unit of a window's inner scale (1 for pixel windows, 1/15 for twips), zoomed.
double pixelsPerUnit(const runtime::Form& form);
// The control's rectangle in pixels inside its container.
QRect controlRect(const runtime::Control& control);
// A window's inner scale position of a pixel position.
double toUnits(const runtime::Form& form, int pixels);

// The decoded picture, cached while the picture's bytes live; a null pixmap when the bytes
// are not a picture Qt can read.
QPixmap pixmapOf(const runtime::Picture& picture);
// The picture scaled to a size, cached the same way (the skin is painted on every repaint).
QPixmap scaledPixmapOf(const runtime::Picture& picture, QSize size);

// Replaces the Windows face names the windows ask for (宋体 and friends) with the best
// installed Chinese font, so Chinese text is legible whatever face a window names.
void installFontSubstitutions();
// Whether an installed font has the program's Chinese characters.
bool chineseFontInstalled();
// The font, at most as large as `font`, in which a caption drawn with `flags` fits `area`:
// designed captions keep their place whatever font the system has for Chinese.
QFont fittedFont(const QFont& font, const QRect& area, int flags, const QString& caption);

} // namespace gui
