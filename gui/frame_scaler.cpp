#include "gui/frame_scaler.h"

#include <QVideoFrame>
#include <algorithm>
#include <vector>

namespace gui {

namespace {

// Integer YCbCr to RGB for limited-range video, coefficients times 1024.
struct Matrix {
    int rv, gu, gv, bu;
};
constexpr Matrix kBt601 { 1634, 401, 832, 2066 };
constexpr Matrix kBt709 { 1836, 218, 546, 2163 };

inline uint32_t rgb(int y, int u, int v, const Matrix& m)
{
    const int c = (y - 16) * 1192;
    const int d = u - 128;
    const int e = v - 128;
    const int r = std::clamp((c + m.rv * e + 512) >> 10, 0, 255);
    const int g = std::clamp((c - m.gu * d - m.gv * e + 512) >> 10, 0, 255);
    const int b = std::clamp((c + m.bu * d + 512) >> 10, 0, 255);
    return 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b);
}

// The source column of every output column (nearest sample, taken at the pixel's centre).
std::vector<int> columnsFor(int from, int to)
{
    std::vector<int> map(static_cast<size_t>(to));
    for (int x = 0; x < to; ++x)
        map[static_cast<size_t>(x)] = std::min(from - 1, static_cast<int>((2LL * x + 1) * from / (2LL * to)));
    return map;
}

// 4:2:0 frames: Y plane, then either two chroma planes (step 1) or one interleaved plane.
struct Planes {
    const uchar* y;
    const uchar* u;
    const uchar* v;
    int yStride, uvStride, uvStep;
};

void convert(const Planes& p, QSize from, QImage& out, const Matrix& m)
{
    const std::vector<int> columns = columnsFor(from.width(), out.width());
    for (int oy = 0; oy < out.height(); ++oy) {
        const int sy = std::min(
            from.height() - 1, static_cast<int>((2LL * oy + 1) * from.height() / (2LL * out.height())));
        const uchar* yRow = p.y + static_cast<qsizetype>(sy) * p.yStride;
        const uchar* uRow = p.u + static_cast<qsizetype>(sy / 2) * p.uvStride;
        const uchar* vRow = p.v + static_cast<qsizetype>(sy / 2) * p.uvStride;
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(oy));
        for (int ox = 0; ox < out.width(); ++ox) {
            const int sx = columns[static_cast<size_t>(ox)];
            const int c = (sx / 2) * p.uvStep;
            line[ox] = rgb(yRow[sx], uRow[c], vRow[c], m);
        }
    }
}

} // namespace

bool scaleFrame(const QVideoFrame& source, QSize size, QImage& out)
{
    if (!source.isValid() || size.isEmpty())
        return false;
    QVideoFrame frame(source);
    const auto format = frame.pixelFormat();
    const bool planar
        = format == QVideoFrameFormat::Format_YUV420P || format == QVideoFrameFormat::Format_YV12;
    const bool semiPlanar
        = format == QVideoFrameFormat::Format_NV12 || format == QVideoFrameFormat::Format_NV21;
    if (!planar && !semiPlanar) {
        // Rare formats: Qt converts, then the picture is scaled.
        const QImage image = frame.toImage();
        if (image.isNull())
            return false;
        out = image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        return true;
    }
    if (!frame.map(QVideoFrame::ReadOnly))
        return false;
    if (out.size() != size || out.format() != QImage::Format_RGB32)
        out = QImage(size, QImage::Format_RGB32);
    Planes p {};
    p.y = frame.bits(0);
    p.yStride = frame.bytesPerLine(0);
    if (planar) {
        const bool swapped = format == QVideoFrameFormat::Format_YV12;
        p.u = frame.bits(swapped ? 2 : 1);
        p.v = frame.bits(swapped ? 1 : 2);
        p.uvStride = frame.bytesPerLine(1);
        p.uvStep = 1;
    } else {
        const uchar* uv = frame.bits(1);
        const bool swapped = format == QVideoFrameFormat::Format_NV21;
        p.u = swapped ? uv + 1 : uv;
        p.v = swapped ? uv : uv + 1;
        p.uvStride = frame.bytesPerLine(1);
        p.uvStep = 2;
    }
    const bool ok = p.y && p.u && p.v;
    if (ok) {
        // Pictures of HD size are BT.709 unless they say otherwise.
        const auto space = frame.surfaceFormat().colorSpace();
        const bool hd = space == QVideoFrameFormat::ColorSpace_BT709
            || (space == QVideoFrameFormat::ColorSpace_Undefined && frame.height() >= 720);
        convert(p, frame.size(), out, hd ? kBt709 : kBt601);
    }
    frame.unmap();
    return ok;
}

} // namespace gui
