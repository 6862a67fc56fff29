#include "gui/look.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <map>
#include <memory>

#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/picture.h"

namespace gui {

namespace {

// Characters every window shows: a font that lacks them draws the program in boxes.
constexpr char32_t kChineseSample[]
    = { U'影', U'音', U'管', U'理', U'播', U'放', U'器', U'下', U'载', U'视', U'频' };

struct ChineseFont {
    QString family;
    bool covers = false;
};

// The best sans font of the system for simplified Chinese, as fontconfig ranks them (the
// person's own preferences first), and whether it has the program's characters.
ChineseFont askFontconfig()
{
    ChineseFont found;
    if (!FcInit())
        return found;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn"));
    if (!pattern)
        return found;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return found;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
        found.family = QString::fromUtf8(reinterpret_cast<const char*>(family));
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch && charset) {
        found.covers = true;
        for (char32_t c : kChineseSample)
            found.covers = found.covers && FcCharSetHasChar(charset, c);
    }
    FcPatternDestroy(match);
    return found;
}

const ChineseFont& chineseFont()
{
    static const ChineseFont font = askFontconfig();
    return font;
}

QString chineseFamily()
{
    // With no font for Chinese at all, the name of the font the program was laid out with
    // still lets Qt's own fallback try.
    const ChineseFont& font = chineseFont();
    return font.covers && !font.family.isEmpty() ? font.family : QStringLiteral("WenQuanYi Micro Hei");
}

double g_zoom = 1.0;

// System colour indexes of the platform the windows were first written for, mapped to the palette.
QColor systemColor(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 0x05: // window background
        return palette.color(QPalette::Base);
    case 0x06: // window frame
    case 0x07: // menu text
    case 0x08: // window text
    case 0x12: // button text
        return palette.color(QPalette::Text);
    case 0x0D: // highlight
        return palette.color(QPalette::Highlight);
    case 0x0E: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 0x10: // button shadow
        return palette.color(QPalette::Dark);
    case 0x11: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 0x14: // button highlight
        return palette.color(QPalette::Light);
    case 0x18: // tool tip background
        return palette.color(QPalette::ToolTipBase);
    case 0x17: // tool tip text
        return palette.color(QPalette::ToolTipText);
    default: // button face and everything else
        return palette.color(QPalette::Button);
    }
}

struct CachedPicture {
    std::weak_ptr<const std::string> bytes;
    bool decoded = false;
    QPixmap pixmap;
    QSize scaledSize;
    QPixmap scaled;
};

// Decoded pictures by their content: windows that load the same file (every window paints
// the skin) share one decoded copy. An entry lives while some picture with its bytes does.
std::map<uint64_t, CachedPicture>& cache()
{
    static std::map<uint64_t, CachedPicture> entries;
    return entries;
}

// The content key of a picture's bytes, computed once per bytes object.
uint64_t contentKey(const runtime::Picture& picture)
{
    struct Known {
        std::weak_ptr<const std::string> bytes;
        uint64_t key;
    };
    static std::map<const std::string*, Known> known;
    auto it = known.find(picture.bytes.get());
    if (it != known.end() && it->second.bytes.lock() == picture.bytes)
        return it->second.key;
    if (known.size() > 256) {
        for (auto k = known.begin(); k != known.end();)
            k = k->second.bytes.expired() ? known.erase(k) : std::next(k);
    }
    uint64_t h = 1469598103934665603ULL ^ picture.bytes->size();
    for (char c : *picture.bytes)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    known[picture.bytes.get()] = Known { picture.bytes, h };
    return h;
}

CachedPicture* cachedEntry(const runtime::Picture& picture)
{
    if (picture.empty())
        return nullptr;
    auto& entries = cache();
    if (entries.size() > 64) {
        for (auto it = entries.begin(); it != entries.end();)
            it = it->second.bytes.expired() ? entries.erase(it) : std::next(it);
    }
    CachedPicture& entry = entries[contentKey(picture)];
    // The entry is kept alive by the latest picture that asked for it.
    entry.bytes = picture.bytes;
    return &entry;
}

QImage decode(const runtime::Picture& picture)
{
    const std::string& b = *picture.bytes;
    return QImage::fromData(reinterpret_cast<const uchar*>(b.data()), static_cast<int>(b.size()));
}

} // namespace

QColor toQColor(int64_t value)
{
    if (value & 0x80000000LL)
        return systemColor(static_cast<int>(value & 0xFF));
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
        static_cast<int>((value >> 16) & 0xFF));
}

QFont toQFont(const std::string& family, double points, bool bold)
{
    QFont font(family.empty() ? chineseFamily() : qs(family));
    // Layouts are in pixels at 96 dots per inch; sizing in pixels keeps them whatever the
    // screen's reported density.
    const double px = (std::isfinite(points) && points > 0 ? points * 96.0 / 72.0 : 12.0) * g_zoom;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    font.setBold(bold);
    return font;
}

double zoom()
{
    return g_zoom;
}

void setZoom(double factor)
{
    g_zoom = std::isfinite(factor) && factor > 0 ? factor : 1.0;
}

int screenPixelsOf(int twips)
{
    return static_cast<int>(std::lround(twips * g_zoom / runtime::kTwipsPerPixel));
}

int twipsOf(int screenPixels)
{
    return static_cast<int>(std::lround(screenPixels * runtime::kTwipsPerPixel / g_zoom));
}

void drawZoomedPixmap(QPainter& painter, const QPixmap& pixmap)
{
    if (g_zoom == 1.0) {
        painter.drawPixmap(0, 0, pixmap);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(g_zoom, g_zoom);
    painter.drawPixmap(0, 0, pixmap);
    painter.restore();
}

double pixelsPerUnit(const runtime::Form& form)
{
    return static_cast<double>(form.twipsPerUnit()) / runtime::kTwipsPerPixel * g_zoom;
}

QRect controlRect(const runtime::Control& control)
{
    const double k = pixelsPerUnit(control.form());
    auto px = [k](double v) { return std::isfinite(v) ? static_cast<int>(std::lround(v * k)) : 0; };
    return QRect(px(control.left()), px(control.top()), px(control.width()), px(control.height()));
}

double toUnits(const runtime::Form& form, int pixels)
{
    return pixels / pixelsPerUnit(form);
}

QPixmap pixmapOf(const runtime::Picture& picture)
{
    CachedPicture* entry = cachedEntry(picture);
    if (!entry)
        return QPixmap();
    if (!entry->decoded) {
        entry->pixmap = QPixmap::fromImage(decode(picture));
        entry->decoded = true;
    }
    return entry->pixmap;
}

QPixmap scaledPixmapOf(const runtime::Picture& picture, QSize size)
{
    CachedPicture* entry = cachedEntry(picture);
    if (!entry || size.isEmpty())
        return QPixmap();
    if (entry->scaledSize != size) {
        // A skin is only ever shown stretched: its full-size copy is not kept (it is as
        // large as a window), a new size decodes the bytes again.
        const QImage image = entry->decoded ? entry->pixmap.toImage() : decode(picture);
        entry->scaled = image.isNull()
            ? QPixmap()
            : QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        entry->scaledSize = size;
    }
    return entry->scaled;
}

bool chineseFontInstalled()
{
    return chineseFont().covers;
}

void installFontSubstitutions()
{
    const QString cjk = chineseFamily();
    for (const char* face : { "宋体", "新宋体", "黑体", "微软雅黑", "楷体", "仿宋", "SimSun", "NSimSun",
             "SimHei", "Microsoft YaHei", "MS Sans Serif", "Tahoma" })
        QFont::insertSubstitution(QString::fromUtf8(face), cjk);
    QFont font(cjk);
    font.setPixelSize(12);
    QApplication::setFont(font);
}

QFont fittedFont(const QFont& font, const QRect& area, int flags, const QString& caption)
{
    QFont fitted = font;
    const int designed = font.pixelSize();
    if (designed <= 0 || caption.isEmpty() || area.isEmpty())
        return fitted;
    // Down to three quarters of the designed size: smaller would be hard to read, and a
    // caption that needs more was clipped as designed too.
    for (int px = designed; px >= std::max(6, designed * 3 / 4); --px) {
        fitted.setPixelSize(px);
        const QRect needed = QFontMetrics(fitted).boundingRect(area, flags, caption);
        if (needed.width() <= area.width() && needed.height() <= area.height())
            return fitted;
    }
    return font;
}

Qt::Alignment alignmentOf(int alignment)
{
    switch (alignment) {
    case runtime::AlignRight:
        return Qt::AlignRight;
    case runtime::AlignCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace gui
