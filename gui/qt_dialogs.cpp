#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "gui/form_view.h"
#include "gui/look.h"
#include "gui/renderer.h"
#include "gui/session.h"

namespace gui {

namespace {

QMessageBox::Icon iconOf(int icon)
{
    switch (icon) {
    case platform::Critical:
        return QMessageBox::Critical;
    case platform::Question:
        return QMessageBox::Question;
    case platform::Exclamation:
        return QMessageBox::Warning;
    case platform::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton standardButtonOf(int answer)
{
    switch (answer) {
    case platform::AnswerOk:
        return QMessageBox::Ok;
    case platform::AnswerCancel:
        return QMessageBox::Cancel;
    case platform::AnswerYes:
        return QMessageBox::Yes;
    case platform::AnswerNo:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

// The answer given when the box is closed without a button: cancel where there is one,
// else the only button, else no (a Yes/No question closed is not a yes).
int escapeAnswer(const std::vector<int>& answers)
{
    for (int a : { platform::AnswerCancel, platform::AnswerNo, platform::AnswerOk }) {
        if (std::find(answers.begin(), answers.end(), a) != answers.end())
            return a;
    }
    return answers.empty() ? platform::AnswerNone : answers.back();
}

// The file list as the dialog shows it, with the kind and the date in the program's
// language (Qt's file model writes them in the system's).
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != kKind && index.column() != kDate))
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        if (index.column() == kDate)
            return QLocale().toString(info.lastModified(), QStringLiteral("yyyy/M/d H:mm"));
        if (info.isDir())
            return QStringLiteral("文件夹");
        if (info.suffix().isEmpty())
            return QStringLiteral("文件");
        return info.suffix().toUpper() + QStringLiteral(" 文件");
    }

private:
    static constexpr int kKind = 2;
    static constexpr int kDate = 3;
};

} // namespace

QString chooseFile(QWidget* parent, const QString& title, const QString& folder, const QStringList& filters,
    QString* selectedFilter, bool folderOnly, const std::function<void(QFileDialog&)>& configure)
{
    QFileDialog dialog(parent, title, folder);
    // The platform's own dialog would speak the desktop's language, not the program's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    if (folderOnly) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(filters);
        if (selectedFilter && !selectedFilter->isEmpty())
            dialog.selectNameFilter(*selectedFilter);
    }
    if (configure)
        configure(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString fileDialogFilter(const platform::FileFilter& filter)
{
    QString patterns = qs(filter.patterns).trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    QString description = qs(filter.description).trimmed();
    if (patterns.isEmpty())
        patterns = QStringLiteral("*");
    // Qt reads the patterns from the last bracket pair; patterns the description shows in
    // brackets of their own (with ';' between them) are taken out first.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
        QString shown = description.mid(open + 1, description.size() - open - 2);
        shown.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (shown.simplified() == patterns)
            description = description.left(open).trimmed();
    }
    if (description.isEmpty())
        return patterns;
    return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

QtDialogs::QtDialogs(Session& session)
    : m_session(session)
{
}

QWidget* QtDialogs::parentWindow() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // The most recently loaded window that is shown.
    const auto views = m_session.renderer().views();
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        if ((*it)->isVisible())
            return *it;
    }
    return nullptr;
}

int QtDialogs::messageBox(const platform::MessageBoxRequest& request)
{
    m_session.sync();
    // A box asked without a title carries the program's name, as the platform's does.
    const QString title = request.title.empty() ? QStringLiteral("Zelvora") : qs(request.title);
    QMessageBox box(iconOf(request.icon), title, qs(request.text), QMessageBox::NoButton, parentWindow());
    const std::vector<int> answers = platform::buttonsOf(request.buttons);
    for (int answer : answers)
        box.addButton(standardButtonOf(answer));
    const int defaultAnswer = platform::defaultAnswer(request);
    if (QAbstractButton* b = box.button(standardButtonOf(defaultAnswer)))
        box.setDefaultButton(static_cast<QPushButton*>(b));
    const int escape = escapeAnswer(answers);
    box.setEscapeButton(box.button(standardButtonOf(escape)));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return escape;
    const auto standard = box.standardButton(clicked);
    for (int answer : answers) {
        if (standardButtonOf(answer) == standard)
            return answer;
    }
    return escape;
}

std::optional<std::string> QtDialogs::openFile(const platform::OpenFileRequest& request)
{
    m_session.sync();
    QStringList filters;
    for (const platform::FileFilter& f : request.filters)
        filters << fileDialogFilter(f);
    QString selected;
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        selected = filters.at(request.filterIndex - 1);
    std::function<void(QFileDialog&)> configure;
    if (request.save)
        configure = [](QFileDialog& dialog) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
        };
    const QString path = chooseFile(
        parentWindow(), qs(request.title), qs(request.initialFolder), filters, &selected, false, configure);
    if (path.isEmpty())
        return std::nullopt;
    return utf8(path);
}

std::optional<std::string> QtDialogs::browseFolder(const std::string& title, const std::string& initialFolder)
{
    m_session.sync();
    const QString path = chooseFile(parentWindow(), qs(title), qs(initialFolder), {}, nullptr, true);
    if (path.isEmpty())
        return std::nullopt;
    return utf8(path);
}

void QtClipboard::setText(const std::string& text)
{
    QApplication::clipboard()->setText(qs(text));
}

std::string QtClipboard::text() const
{
    return utf8(QApplication::clipboard()->text());
}

} // namespace gui
