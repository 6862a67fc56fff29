#include "gui/contrast.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

#include "gui/look.h"
#include "runtime/form.h"

namespace gui {

namespace {

constexpr double kLeastContrast = 3.0;

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& background, const QColor& designed)
{
    if (contrastRatio(background, designed) >= kLeastContrast)
        return designed;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

QColor formColourIn(const runtime::Form& form, const QRect& rect)
{
    if (rect.isEmpty())
        return toQColor(form.backColor());
    // The form's own painting, as its view does it, of the rect alone.
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(toQColor(form.backColor()));
    {
        QPainter painter(&image);
        painter.translate(-rect.topLeft());
        if (!form.picture().empty())
            painter.drawPixmap(0, 0, pixmapOf(form.picture()));
        const runtime::PaintedPicture& painted = form.painted();
        if (!painted.picture.empty())
            painter.drawPixmap(0, 0, scaledPixmapOf(painted.picture, QSize(painted.width, painted.height)));
    }
    double r = 0;
    double g = 0;
    double b = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            r += qRed(line[x]);
            g += qGreen(line[x]);
            b += qBlue(line[x]);
        }
    }
    const double n = static_cast<double>(image.width()) * image.height();
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

} // namespace gui
