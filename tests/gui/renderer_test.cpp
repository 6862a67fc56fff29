// The generic renderer: windows and controls shown where and how the runtime says.
#include <QAbstractItemView>
#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QWindow>

#include "desktop_fixture.h"
#include "gui/form_view.h"
#include "gui/renderer.h"
#include "test_windows.h"

namespace gui_testing {
namespace {

// A PNG of one colour, as a window's picture.
runtime::Picture solidPicture(QColor colour, int w = 4, int h = 4)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return runtime::pictureFromBytes(bytes.toStdString());
}

QColor pixel(QWidget& w, int x, int y)
{
    return w.grab().toImage().pixelColor(x, y);
}

class DesktopRenderer : public DesktopTest {
protected:
    Sample& showSample()
    {
        Sample& s = app().get<Sample>();
        session().run([&] { s.show(); });
        return s;
    }
};

TEST_F(DesktopRenderer, GeometryFollowsEachWindowsScale)
{
    struct Row {
        const char* name;
        runtime::ScaleMode scale;
        double left, top, width, height;
        std::vector<int> pixels;
    };
    const Row rows[] = {
        { "twips", runtime::ScaleMode::Twips, 150, 300, 1500, 450, { 10, 20, 100, 30 } },
        { "twips_rounded", runtime::ScaleMode::Twips, 7, 8, 22, 23, { 0, 1, 1, 2 } },
        { "pixels", runtime::ScaleMode::Pixels, 10, 20, 100, 30, { 10, 20, 100, 30 } },
        { "pixels_negative_left", runtime::ScaleMode::Pixels, -5, 0, 0, 1, { -5, 0, 0, 1 } },
    };
    Sample& s = showSample();
    gui::FormView* v = view(s);
    ASSERT_NE(v, nullptr);
    // A framed window's place and size include its frame.
    EXPECT_EQ(v->frameGeometry(), QRect(100, 100, 400, 300));
    EXPECT_FALSE(v->windowFlags() & Qt::FramelessWindowHint);
    session().run([&] {
        s.setOwnChrome(true);
        s.move(3000, 1500);
        s.setWidth(9000);
    });
    EXPECT_TRUE(v->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(geometryOf(*v), (std::vector<int> { 200, 100, 600, 300 }));
    // Controls are placed in the window's scale.
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        session().run([&] {
            s.setScaleMode(row.scale);
            s.Label1.move(row.left, row.top, row.width, row.height);
        });
        EXPECT_EQ(geometryOf(*widget(s.Label1)), row.pixels) << row.left << "," << row.top;
    }
}

TEST_F(DesktopRenderer, LabelsPaintAsTheirPropertiesSay)
{
    struct Row {
        const char* name;
        int backStyle;
        int64_t backColor;
        QColor corner; // the window's green shows through a transparent label
        bool bold;
        double size;
        int pixelSize;
    };
    const Row rows[] = {
        { "opaque_red", runtime::Opaque, 0x0000FF, QColor(255, 0, 0), false, 9, 12 },
        { "opaque_green_bold", runtime::Opaque, 0x80FF80, QColor(0x80, 0xFF, 0x80), true, 12, 16 },
        { "transparent_bold", runtime::Transparent, 0x0000FF, QColor(0, 255, 0), true, 15, 20 },
        // Colours with the top bit are the desktop's own: the button face and the text colour.
        { "desktop_colour_bit_clear", runtime::Opaque, 0x00B0FE00, QColor(0, 254, 176), false, 9, 12 },
        { "button_face", runtime::Opaque, 0x8000000F, QApplication::palette().color(QPalette::Button), false,
            9, 12 },
        { "text_colour", runtime::Opaque, 0x80000008, QApplication::palette().color(QPalette::Text), false, 9,
            12 },
    };
    Sample& s = showSample();
    gui::FormView* v = view(s);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        session().run([&] {
            s.Label1.setBackStyle(row.backStyle);
            s.Label1.setBackColor(row.backColor);
            s.Label1.setFontBold(row.bold);
            s.Label1.setFontSize(row.size);
            s.Label1.setCaption("");
            s.Label1.setToolTipText("两次单击右键将关闭此窗口");
        });
        QWidget* label = widget(s.Label1);
        EXPECT_EQ(pixel(*v, label->x() + 2, label->y() + 2), row.corner) << row.backStyle;
        EXPECT_EQ(label->font().bold(), row.bold);
        EXPECT_EQ(label->font().pixelSize(), row.pixelSize);
        EXPECT_EQ(label->toolTip(), QStringLiteral("两次单击右键将关闭此窗口"));
    }
}

TEST_F(DesktopRenderer, BackgroundIsColourThenPictureThenStretchedSkin)
{
    Sample& s = showSample();
    session().run([&] {
        s.setBackColor(0x0000FF);
        s.setPicture(solidPicture(Qt::blue, 80, 10));
        s.paintPicture(solidPicture(Qt::yellow, 2, 2), 50, 40);
    });
    gui::FormView* v = view(s);
    EXPECT_EQ(pixel(*v, 5, 5), QColor(Qt::yellow)); // the stretched skin, topmost
    EXPECT_EQ(pixel(*v, 55, 5), QColor(Qt::blue)); // the picture, beyond the skin
    EXPECT_EQ(pixel(*v, 95, 5), QColor(255, 0, 0)); // the colour, beyond both
    session().run([&] { s.clearPicture(); });
    EXPECT_EQ(pixel(*v, 5, 5), QColor(255, 0, 0));
}

TEST_F(DesktopRenderer, UnloadingAWindowFromItsOwnHandlerDropsItsView)
{
    Sample& s = showSample();
    s.onCommand = [&] { app().unload<Sample>(); };
    QWidget* button = widget(s.Command1);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(app().isLoaded<Sample>());
    EXPECT_TRUE(session().renderer().views().empty());
    settle();
    // The next reference builds a fresh window with a fresh view.
    Sample& again = showSample();
    ASSERT_NE(view(again), nullptr);
    EXPECT_TRUE(view(again)->isVisible());
}

TEST_F(DesktopRenderer, OwnershipRulesHoldOnScreen)
{
    Sample& owner = showSample();
    Owned& owned = app().get<Owned>();
    session().run([&] { owned.show(false, &owner); });
    gui::FormView* ov = view(owned);
    ASSERT_TRUE(ov->windowHandle());
    EXPECT_EQ(ov->windowHandle()->transientParent(), view(owner)->windowHandle());
    EXPECT_TRUE(ov->isVisible());
    // Out of sight while the owner is minimised, back when it is restored.
    session().run([&] { owner.setWindowState(runtime::WindowState::Minimized); });
    EXPECT_FALSE(ov->isVisible());
    session().run([&] { owner.setWindowState(runtime::WindowState::Normal); });
    EXPECT_TRUE(ov->isVisible());
    // Shown modal it blocks the others; shown again modeless it no longer does.
    session().run([&] {
        owned.hide();
        owned.show(true);
    });
    EXPECT_EQ(ov->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(ov->isVisible());
    session().run([&] {
        owned.hide();
        owned.show(false);
    });
    EXPECT_EQ(ov->windowModality(), Qt::NonModal);
    EXPECT_TRUE(view(owner)->isVisible());
}

TEST_F(DesktopRenderer, HiddenControlsCatchUpWhenShown)
{
    Sample& s = showSample();
    session().run([&] {
        s.List1.setVisible(false);
        s.List1.setItems(std::vector<std::string>(1000, "歌曲"));
        s.List1.setList(999, "最后一首");
        s.List1.setListIndex(999);
    });
    auto* list = static_cast<QAbstractItemView*>(widget(s.List1));
    EXPECT_FALSE(list->isVisible());
    session().run([&] { s.List1.setVisible(true); });
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(list->model()->rowCount(), 1000);
    EXPECT_EQ(list->model()->index(999, 0).data().toString(), QStringLiteral("最后一首"));
    EXPECT_EQ(list->currentIndex().row(), 999);
}

} // namespace
} // namespace gui_testing
