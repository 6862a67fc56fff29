#pragma once
// The desktop's dialogs and clipboard: Qt message boxes and file dialogs, Qt's clipboard.
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/clipboard.h"
#include "platform/dialogs.h"

class QFileDialog;
class QWidget;

namespace gui {

class Session;

class QtDialogs : public platform::Dialogs {
public:
    explicit QtDialogs(Session& session);
    // Shows a message box with the request's buttons, icon, title and default button, and
    // returns the answer; closing it without a button gives the answer of its escape button.
    int messageBox(const platform::MessageBoxRequest& request) override;
    std::optional<std::string> openFile(const platform::OpenFileRequest& request) override;
    std::optional<std::string> browseFolder(
        const std::string& title, const std::string& initialFolder) override;

private:
    [[nodiscard]] QWidget* parentWindow() const;
    Session& m_session;
};

class QtClipboard : public platform::Clipboard {
public:
    void setText(const std::string& text) override;
    [[nodiscard]] std::string text() const override;
};

// Qt's own file dialog, shown in Chinese throughout: besides Qt's translated texts, the kind
// column and the modification dates, which Qt takes from the system's language, are given in
// the program's language. `configure` runs before the dialog is shown (tests look at it).
QString chooseFile(QWidget* parent, const QString& title, const QString& folder, const QStringList& filters,
    QString* selectedFilter, bool folderOnly, const std::function<void(QFileDialog&)>& configure = {});

// The filter text of a file dialog for one filter ("音乐 (*.mp3 *.wav)"); a description
// that already ends with its patterns in brackets is not given them twice.
QString fileDialogFilter(const platform::FileFilter& filter);

} // namespace gui
