// Draws the program's own pictures (logo, tray icon, title buttons, service and tool tiles,
// player icons) as PNG files. Run by scripts/make-pictures; the output is committed under
// src/resources/pictures/ui/ and embedded at build time. With a second folder it also draws
// the program's icon at the desktop's usual sizes in the hicolor layout (SIZExSIZE/apps/).
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>
#include <functional>

namespace {

const QString kFace = QStringLiteral("WenQuanYi Micro Hei");

QString g_folder;
int g_written = 0;

void save(const QString& name, const QImage& image)
{
    const QString path = g_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++g_written;
}

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Runs a drawing on a fresh transparent canvas with antialiasing on.
QImage draw(int w, int h, const std::function<void(QPainter&)>& paint)
{
    QImage image = canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(p);
    p.end();
    return image;
}

// A rounded square with a top-to-bottom gradient from a colour to a darker shade of it.
void tileBackground(QPainter& p, QRectF r, QColor colour, qreal radius)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, colour.lighter(118));
    g.setColorAt(1, colour.darker(118));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    // A soft highlight over the upper half.
    QPainterPath gloss;
    gloss.addRoundedRect(r.adjusted(2, 2, -2, -r.height() / 2), radius - 2, radius - 2);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(gloss);
}

QFont face(int px, bool bold = true)
{
    QFont f(kFace);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// A beamed pair of eighth notes, the music sign of the tiles.
void note(QPainter& p, QPointF at, qreal size, QColor colour)
{
    p.save();
    p.translate(at);
    p.scale(size / 20.0, size / 20.0);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0, 14, 7, 5));
    p.drawEllipse(QRectF(11, 12, 7, 5));
    p.drawRect(QRectF(5.6, 2, 1.6, 15));
    p.drawRect(QRectF(16.6, 0, 1.6, 15));
    QPolygonF beam;
    beam << QPointF(5.6, 2) << QPointF(18.2, 0) << QPointF(18.2, 3.5) << QPointF(5.6, 5.5);
    p.drawPolygon(beam);
    p.restore();
}

// A play triangle centred in a box.
void playSign(QPainter& p, QRectF box, QColor colour)
{
    const qreal h = box.height();
    QPolygonF tri;
    tri << QPointF(box.left() + h * 0.18, box.top()) << QPointF(box.left() + h * 0.18, box.bottom())
        << QPointF(box.left() + h * 1.0, box.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tri);
}

// The mark of the program: a mint rounded square (the default skin colour) with a white
// play sign and a music note, the suite's three jobs in one sign.
void drawMark(QPainter& p, qreal size)
{
    tileBackground(p, QRectF(1, 1, size - 2, size - 2), QColor(0, 190, 140), size * 0.22);
    playSign(p, QRectF(size * 0.24, size * 0.24, size * 0.52, size * 0.52), Qt::white);
    note(p, QPointF(size * 0.54, size * 0.10), size * 0.34, QColor(255, 255, 255, 220));
}

// The desktop icon: the mark at each size a menu, a panel or a file manager asks for.
void makeDesktopIcons(const QString& folder)
{
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QString dir = folder + QStringLiteral("/%1x%1/apps").arg(size);
        const QString path = dir + QStringLiteral("/zelvora.png");
        if (!QDir().mkpath(dir)
            || !draw(size, size, [size](QPainter& p) { drawMark(p, size); }).save(path, "PNG")) {
            std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        ++g_written;
    }
}

void makeMarks()
{
    save(QStringLiteral("logo"), draw(48, 48, [](QPainter& p) { drawMark(p, 48); }));
    save(QStringLiteral("tray"), draw(32, 32, [](QPainter& p) { drawMark(p, 32); }));
}

// Title buttons: a glyph on a transparent ground, and the hover look on a filled ground.
void makeTitleButtons()
{
    struct Button {
        const char* name;
        QColor hover;
        std::function<void(QPainter&, QRectF)> glyph;
    };
    const Button buttons[] = {
        { "title_settings", QColor(0x80, 0xFF, 0x80),
            [](QPainter& p, QRectF r) {
                QPolygonF tri;
                tri << QPointF(r.center().x() - 5, r.center().y() - 3)
                    << QPointF(r.center().x() + 5, r.center().y() - 3)
                    << QPointF(r.center().x(), r.center().y() + 4);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(40, 40, 40));
                p.drawPolygon(tri);
            } },
        { "title_minimize", QColor(0x80, 0xFF, 0x80),
            [](QPainter& p, QRectF r) {
                p.setPen(QPen(QColor(40, 40, 40), 2));
                p.drawLine(QPointF(r.center().x() - 6, r.center().y() + 3),
                    QPointF(r.center().x() + 6, r.center().y() + 3));
            } },
        { "title_close", QColor(0xFF, 0x00, 0x00),
            [](QPainter& p, QRectF r) {
                p.setPen(QPen(QColor(40, 40, 40), 2, Qt::SolidLine, Qt::RoundCap));
                const QPointF c = r.center();
                p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
                p.drawLine(c + QPointF(5, -5), c + QPointF(-5, 5));
            } },
    };
    for (const Button& b : buttons) {
        const QRectF r(0, 0, 30, 22);
        save(QString::fromLatin1(b.name), draw(30, 22, [&](QPainter& p) { b.glyph(p, r); }));
        save(QString::fromLatin1(b.name) + QStringLiteral("_hover"), draw(30, 22, [&](QPainter& p) {
            p.fillRect(r, b.hover);
            b.glyph(p, r);
        }));
    }
}

// A 64 or 80 pixel tile: coloured square, a sign at the top and a short caption below.
QImage tile(
    int size, QColor colour, const QString& caption, const std::function<void(QPainter&, QRectF)>& sign)
{
    return draw(size, size, [&](QPainter& p) {
        tileBackground(p, QRectF(1, 1, size - 2, size - 2), colour, size * 0.18);
        sign(p, QRectF(size * 0.25, size * 0.10, size * 0.5, size * 0.46));
        p.setPen(Qt::white);
        p.setFont(face(size * 15 / 64));
        p.drawText(QRectF(0, size * 0.58, size, size * 0.36), Qt::AlignCenter, caption);
    });
}

void makeMusicTiles()
{
    // One tile per online music service, named after its page; colours differ so the row
    // reads at a glance, captions are the short names people use.
    const struct {
        const char* name;
        const char* caption;
        QColor colour;
    } services[] = {
        { "kugou", "酷狗", QColor(0x1E, 0x88, 0xE5) },
        { "kuwo", "酷我", QColor(0xFB, 0x8C, 0x00) },
        { "xiami", "虾米", QColor(0xF4, 0x51, 0x1E) },
        { "yyt", "音悦台", QColor(0x43, 0xA0, 0x47) },
        { "jiuku", "九酷", QColor(0x8E, 0x24, 0xAA) },
        { "duomi", "多米", QColor(0x00, 0xAC, 0xC1) },
        { "baidu", "百度", QColor(0x39, 0x49, 0xAB) },
        { "sougou", "搜狗", QColor(0xE5, 0x39, 0x35) },
        { "qq", "QQ", QColor(0x2E, 0x7D, 0x32) },
        { "douban", "豆瓣FM", QColor(0x55, 0x8B, 0x2F) },
        { "wangyi", "网易", QColor(0xC6, 0x28, 0x28) },
        { "beiwa", "贝瓦", QColor(0xFF, 0xA0, 0x00) },
    };
    for (const auto& s : services) {
        save(QStringLiteral("music_") + QString::fromLatin1(s.name),
            tile(64, s.colour, QString::fromUtf8(s.caption), [](QPainter& p, QRectF r) {
                note(p, r.topLeft() + QPointF(r.width() * 0.12, 0), r.height(), Qt::white);
            }));
    }
}

void makeToolTiles()
{
    // The toolbox tiles: a letter sign for each tool and its caption.
    const struct {
        const char* name;
        const char* sign;
        const char* caption;
        QColor colour;
    } tools[] = {
        { "tool_chat", "聊", "QQ聊天", QColor(0x1E, 0x88, 0xE5) },
        { "tool_ip", "IP", "IP查询", QColor(0x00, 0x89, 0x7B) },
        { "tool_weather", "晴", "天气预报", QColor(0x03, 0x9B, 0xE5) },
        { "tool_astro", "星", "星座运势", QColor(0x8E, 0x24, 0xAA) },
        { "tool_speed", "速", "系统加速", QColor(0xE5, 0x39, 0x35) },
        { "tool_wifi", "WiFi", "WiFi热点", QColor(0x43, 0xA0, 0x47) },
        { "tool_lsp", "修", "LSP修复", QColor(0x6D, 0x4C, 0x41) },
        { "tool_broadband", "宽", "宽带加速", QColor(0xFB, 0x8C, 0x00) },
        { "tool_meitu", "图", "美图编辑", QColor(0xD8, 0x1B, 0x60) },
    };
    for (const auto& t : tools) {
        const QString sign = QString::fromUtf8(t.sign);
        save(QString::fromLatin1(t.name),
            tile(80, t.colour, QString::fromUtf8(t.caption), [&](QPainter& p, QRectF r) {
                p.setPen(Qt::white);
                p.setFont(face(sign.size() > 2 ? 18 : 28));
                p.drawText(r, Qt::AlignCenter, sign);
            }));
    }
}

void makePlayerIcons()
{
    // Small list tool icons of the player (24 pixels), dark glyphs on a light round ground.
    const QColor ink(50, 60, 70);
    auto icon = [&](const char* name, const std::function<void(QPainter&)>& glyph) {
        save(QString::fromLatin1(name), draw(24, 24, [&](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 200));
            p.drawEllipse(QRectF(1, 1, 22, 22));
            p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(ink);
            glyph(p);
        }));
    };
    icon("player_next", [](QPainter& p) {
        p.drawPolygon(QPolygonF({ QPointF(7, 7), QPointF(14, 12), QPointF(7, 17) }));
        p.drawLine(QPointF(17, 7), QPointF(17, 17));
    });
    icon("player_previous", [](QPainter& p) {
        p.drawPolygon(QPolygonF({ QPointF(17, 7), QPointF(10, 12), QPointF(17, 17) }));
        p.drawLine(QPointF(7, 7), QPointF(7, 17));
    });
    icon("player_mode", [](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 12, 12), 30 * 16, 300 * 16);
        p.setBrush(p.pen().color());
        p.drawPolygon(QPolygonF({ QPointF(16, 4), QPointF(19, 9), QPointF(14, 9) }));
    });
    icon("player_search", [](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(6, 6, 9, 9));
        p.drawLine(QPointF(14, 14), QPointF(18, 18));
    });
    icon("player_add", [](QPainter& p) {
        p.drawLine(QPointF(12, 6), QPointF(12, 18));
        p.drawLine(QPointF(6, 12), QPointF(18, 12));
    });
    // The wide and normal mode switches of the video area (a tab on the list's edge).
    auto tab = [&](const char* name, bool pointLeft) {
        save(QString::fromLatin1(name), draw(9, 60, [&](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 90));
            p.drawRoundedRect(QRectF(0, 0, 9, 60), 3, 3);
            p.setBrush(Qt::white);
            const qreal a = pointLeft ? 6.5 : 2.5;
            const qreal b = pointLeft ? 2.5 : 6.5;
            p.drawPolygon(QPolygonF({ QPointF(a, 24), QPointF(b, 30), QPointF(a, 36) }));
        }));
    };
    tab("player_wide", true);
    tab("player_normal", false);
    // The close mark of the in-list search box.
    save(QStringLiteral("player_close"), draw(18, 18, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 220));
        p.drawEllipse(QRectF(1, 1, 16, 16));
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(12, 12));
        p.drawLine(QPointF(12, 6), QPointF(6, 12));
    }));
    // The decoder hint's "立即安装" button.
    save(QStringLiteral("player_install"), draw(72, 22, [&](QPainter& p) {
        tileBackground(p, QRectF(0.5, 0.5, 71, 21), QColor(0x2E, 0x9E, 0x4F), 4);
        p.setPen(Qt::white);
        p.setFont(face(12));
        p.drawText(QRectF(0, 0, 72, 22), Qt::AlignCenter, QStringLiteral("立即安装"));
    }));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_pictures FOLDER [ICON_FOLDER]\n");
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(g_folder)) {
        std::fprintf(stderr, "make_pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    makeMarks();
    makeTitleButtons();
    makeMusicTiles();
    makeToolTiles();
    makePlayerIcons();
    if (argc == 3)
        makeDesktopIcons(QString::fromLocal8Bit(argv[2]));
    std::printf("make_pictures: %d pictures in %s\n", g_written, argv[1]);
    return 0;
}
