// The person's input reaches the windows as the runtime's events.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "desktop_fixture.h"
#include "gui/form_view.h"
#include "gui/input_views.h"
#include "test_windows.h"

namespace gui_testing {
namespace {

class DesktopInput : public DesktopTest {
protected:
    Sample& s = app().get<Sample>();
    void SetUp() override
    {
        session().run([&] { s.show(); });
        s.events.clear();
    }
};

TEST_F(DesktopInput, MouseOnALabelRaisesItsEventsInTheWindowsScale)
{
    QWidget* label = widget(s.Label1);
    // A double click as Qt delivers it: press, release, press, double click, release.
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(30, 12));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(30, 12), label->mapToGlobal(QPointF(30, 12)),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &dbl);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(2, 4));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label, &leave);
    // Twips: 30 pixels are 450 twips. The release ending a double click is no second click,
    // a right click is no click, nothing reaches the window under the label, and the pointer
    // leaving the label reaches it.
    const std::vector<std::string> expected = { "Label1.MouseDown 1 450,180", "Label1.MouseUp 1 450,180",
        "Label1.Click", "Label1.MouseDown 1 450,180", "Label1.DblClick", "Label1.MouseUp 1 450,180",
        "Label1.MouseDown 2 30,60", "Label1.MouseUp 2 30,60", "Label1.MouseLeave" };
    EXPECT_EQ(s.events, expected);
}

TEST_F(DesktopInput, TypingRaisesChangeWithTheNewText)
{
    auto* line = widget(s.Text1)->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "ab");
    EXPECT_EQ(s.Text1.text(), "ab");
    EXPECT_EQ(s.events, (std::vector<std::string> { "Text1.Change a", "Text1.Change ab" }));
    // A window's own change of the text shows without being taken for typing.
    s.events.clear();
    session().run([&] { s.Text1.setText("视频"); });
    EXPECT_EQ(line->text(), QStringLiteral("视频"));
    EXPECT_EQ(s.events, (std::vector<std::string> { "Text1.Change 视频" }));

    // Multi-line text keeps CR LF line ends in the window and plain lines on screen.
    auto* multi = widget(s.Text2)->findChild<QPlainTextEdit*>();
    ASSERT_NE(multi, nullptr);
    session().run([&] { s.Text2.setText("\r\n\r\n请选择"); });
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("\n\n请选择"));
    multi->moveCursor(QTextCursor::End);
    QTest::keyClick(multi, Qt::Key_Return);
    EXPECT_EQ(s.Text2.text(), "\r\n\r\n请选择\r\n");
}

TEST_F(DesktopInput, ListsChooseWithTheLeftButtonOnly)
{
    auto* list = static_cast<QListView*>(widget(s.List1));
    auto centre = [&](int row) { return list->visualRect(list->model()->index(row, 0)).center(); };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(s.List1.listIndex(), 1);
    // A right press leaves the choice alone (a menu pops up for the chosen entry).
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centre(2));
    EXPECT_EQ(s.List1.listIndex(), 1);
    // Pressing the chosen entry again is a click all the same.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(1));
    // A double click below the last entry still reaches the window.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, list->viewport()->height() - 3));
    auto count = [&](const std::string& e) { return std::count(s.events.begin(), s.events.end(), e); };
    EXPECT_EQ(count("List1.Click 1"), 2);
    EXPECT_EQ(count("List1.DblClick"), 1);
    EXPECT_EQ(count("List1.MouseDown 2 " + std::to_string(centre(2).x() * 15) + ","
                  + std::to_string(centre(2).y() * 15)),
        1);
    // The window's own choice shows on screen.
    session().run([&] { s.List1.setListIndex(2); });
    EXPECT_EQ(list->currentIndex().row(), 2);
}

TEST_F(DesktopInput, ValueControlsRaiseTheirEvents)
{
    auto* combo = static_cast<QComboBox*>(widget(s.Combo1));
    combo->setCurrentIndex(1);
    emit combo->activated(1); // what choosing from the drop-down does
    QTest::keyClicks(combo->lineEdit(), "!");
    auto* slider = static_cast<QScrollBar*>(widget(s.HScroll1));
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(s.Combo1.listIndex(), 1);
    EXPECT_EQ(s.Combo1.text(), "酷我!");
    EXPECT_EQ(s.HScroll1.value(), slider->pageStep());
    const std::vector<std::string> expected = { "Combo1.Click 1 酷我", "Combo1.Change 酷我!",
        "HScroll1.Change " + std::to_string(slider->pageStep()) };
    EXPECT_EQ(s.events, expected);
    // The window's own changes show without raising anything more.
    s.events.clear();
    session().run([&] { s.HScroll1.setValue(200); });
    EXPECT_EQ(slider->value(), 200);
    EXPECT_EQ(s.events, (std::vector<std::string> { "HScroll1.Change 200" }));
}

// The bands of rows (top, height) of a picture that hold dark ink, inside a margin.
std::vector<std::pair<int, int>> inkBands(const QImage& image, int margin)
{
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = margin; y < image.height() - margin; ++y) {
        bool ink = false;
        for (int x = margin; x < image.width() - margin && !ink; ++x)
            ink = QColor(image.pixel(x, y)).lightness() < 110;
        if (ink && !inBand)
            bands.push_back({ y, 0 });
        if (ink)
            bands.back().second = y - bands.back().first + 1;
        inBand = ink;
    }
    return bands;
}

TEST_F(DesktopInput, AButtonCaptionWiderThanTheButtonWrapsOntoMoreLines)
{
    // The music window's harvest button: 80 by 48 pixels.
    session().run([&] {
        s.Command1.move(150, 2100, 1200, 720);
        s.Command1.setCaption("十秒下载本次飘过的所有歌曲和视频");
    });
    const QImage shot = widget(s.Command1)->grab().toImage();
    const auto bands = inkBands(shot, 4);
    ASSERT_GE(bands.size(), 3u);
    // Every character is whole: the lines are as tall as the font's glyphs, not cut.
    for (const auto& band : bands)
        EXPECT_GE(band.second, QFontMetrics(widget(s.Command1)->font()).ascent() / 2);
    session().run([&] { s.Command1.setCaption("确定"); });
    EXPECT_EQ(inkBands(widget(s.Command1)->grab().toImage(), 4).size(), 1u);
}

TEST_F(DesktopInput, DroppedFilesReachTheHandlerUnderTheMouse)
{
    const QList<QUrl> files
        = { QUrl::fromLocalFile(QStringLiteral("/音乐/歌.mp3")), QUrl(QStringLiteral("https://x/y")) };
    dropFiles(widget(s.Text1)->findChild<QLineEdit*>(), QPoint(5, 5), files);
    dropFiles(view(s), QPoint(380, 280), files);
    // A list takes a drop on its entries' area (the player's list adds the files).
    dropFiles(static_cast<QListView*>(widget(s.List1))->viewport(), QPoint(20, 20), files);
    // Addresses that are not local files are not offered as files.
    dropFiles(view(s), QPoint(380, 280), { QUrl(QStringLiteral("https://x/only")) });
    const std::vector<std::string> expected
        = { "Text1.DragDrop /音乐/歌.mp3", "Form.DragDrop /音乐/歌.mp3", "List1.DragDrop /音乐/歌.mp3" };
    EXPECT_EQ(s.events, expected);
}

TEST_F(DesktopInput, PopupMenuRunsTheChosenItem)
{
    QStringList shown;
    // The menu runs its own event loop; the choice is made from inside it.
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
        // Down to "打开", down past the separator to "更多", into its submenu, choose "深处".
        for (Qt::Key key : { Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Return })
            QTest::keyClick(QApplication::activePopupWidget(), key);
    });
    session().run([&] { s.popupMenu(s.mnu); });
    EXPECT_EQ(shown, (QStringList { QStringLiteral("打开"), QStringLiteral("-"), QStringLiteral("更多") }));
    EXPECT_EQ(s.events, (std::vector<std::string> { "mnuDeep.Click" }));
}

} // namespace
} // namespace gui_testing
