// Draws the built-in skin picture (src/resources/pictures/skin.jpg): a soft green-to-cyan
// gradient with light waves and scattered notes of light, sized for the hub.
// Build and run once:
//   g++ -std=c++20 -fPIC tools/skin_picture.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/skin_picture
//   QT_QPA_PLATFORM=offscreen /tmp/skin_picture src/resources/pictures/skin.jpg
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: skin_picture OUT.jpg\n");
        return 2;
    }
    const int w = 960, h = 740;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient base(0, 0, w, h);
    base.setColorAt(0.0, QColor(0xD8, 0xF8, 0xE8));
    base.setColorAt(0.5, QColor(0xB8, 0xEE, 0xE0));
    base.setColorAt(1.0, QColor(0x9C, 0xDC, 0xF0));
    p.fillRect(img.rect(), base);
    // Waves across the lower half.
    for (int k = 0; k < 5; ++k) {
        QPainterPath path;
        const double y0 = h * (0.45 + 0.1 * k);
        path.moveTo(0, y0);
        for (int x = 0; x <= w; x += 8)
            path.lineTo(x, y0 + 28 * std::sin((x / double(w)) * 6.283 * (1.2 + 0.3 * k) + k));
        path.lineTo(w, h);
        path.lineTo(0, h);
        path.closeSubpath();
        p.fillPath(path, QColor(255, 255, 255, 28 + 6 * k));
    }
    // Soft lights.
    const struct {
        double x, y, r;
    } lights[] = { { 0.12, 0.18, 140 }, { 0.78, 0.12, 200 }, { 0.55, 0.38, 90 }, { 0.9, 0.6, 120 } };
    for (const auto& l : lights) {
        QRadialGradient g(QPointF(w * l.x, h * l.y), l.r);
        g.setColorAt(0, QColor(255, 255, 255, 110));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(w * l.x, h * l.y), l.r, l.r);
    }
    p.end();
    return img.save(argv[1], "JPG", 85) ? 0 : 1;
}
