// The file dialog speaks the program's language throughout: Qt's texts, the kind column and the
// dates of the file list.
#include <QAbstractItemView>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui/qt_dialogs.h"
#include "support/temp_dir.h"

namespace {

// The texts shown in one column of the dialog's file list, once the folder has been read.
QStringList columnTexts(QFileDialog& dialog, int column)
{
    QStringList texts;
    for (auto* view : dialog.findChildren<QAbstractItemView*>()) {
        if (!view->isVisible() || !view->model() || view->model()->columnCount(view->rootIndex()) <= column)
            continue;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            texts << view->model()->index(row, column, view->rootIndex()).data().toString();
    }
    return texts;
}

} // namespace

TEST(FileDialog, SpeaksChineseThroughout)
{
    testing_support::TempDir dir;
    testing_support::writeBytes(dir.file("a.mp3"), "x");
    std::filesystem::create_directories(dir.file("专辑"));
    QStringList kinds;
    QStringList dates;
    QStringList shownTexts;
    QString selected;
    const QString chosen
        = gui::chooseFile(nullptr, QStringLiteral("打开文件"), QString::fromStdString(dir.path().string()),
            { QStringLiteral("歌曲 (*.mp3)") }, &selected, false, [&](QFileDialog& dialog) {
                auto* poll = new QTimer(&dialog);
                QObject::connect(poll, &QTimer::timeout, &dialog, [&dialog, &kinds, &dates, &shownTexts] {
                    kinds = columnTexts(dialog, 2);
                    if (kinds.size() < 2)
                        return;
                    dates = columnTexts(dialog, 3);
                    for (auto* label : dialog.findChildren<QLabel*>())
                        shownTexts << label->text();
                    for (auto* button : dialog.findChildren<QPushButton*>())
                        shownTexts << button->text();
                    dialog.reject();
                });
                poll->start(20);
                QTimer::singleShot(5000, &dialog, &QDialog::reject);
            });
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_TRUE(kinds.contains(QStringLiteral("文件夹"))) << kinds.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(kinds.contains(QStringLiteral("MP3 文件"))) << kinds.join(QLatin1Char('|')).toStdString();
    // Dates in numbers, no English month names.
    const QRegularExpression english(QStringLiteral("[A-Za-z]{3}"));
    for (const QString& date : dates)
        EXPECT_FALSE(english.match(date).hasMatch()) << date.toStdString();
    for (const QString& text : shownTexts) {
        for (const char* word : { "Look in", "File name", "Files of type", "Open", "Cancel", "Folder" })
            EXPECT_FALSE(text.contains(QLatin1String(word))) << text.toStdString();
    }
    EXPECT_FALSE(shownTexts.isEmpty());
}
