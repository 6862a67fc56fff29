#include "gui/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <string>

#include "gui/look.h"
#include "platform/config.h"
#include "platform/textfile.h"
#include "resources/resources.h"
#include "runtime/picture.h"

namespace gui {

namespace {

// Qt's own texts (the standard buttons of message boxes, file dialogs, the page menu) in
// Chinese, as the rest of the program.
void installTranslations(QApplication& app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : { "qtbase", "qtmultimedia", "qtwebengine" }) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

std::shared_ptr<platform::Config> loadConfiguration(const std::string& file)
{
    auto config = std::make_shared<platform::Config>();
    const std::string path = file.empty() ? platform::Config::fileFromEnvironment() : file;
    if (path.empty())
        return config;
    if (platform::probeFile(path) != platform::ReadOutcome::Read) {
        std::fprintf(stderr, "zelvora: cannot read the configuration file %s\n", path.c_str());
        return nullptr;
    }
    const platform::Status status = config->loadFile(path);
    if (!status)
        std::fprintf(stderr, "zelvora: %s: %s\n", path.c_str(), status.error.c_str());
    return config;
}

void setUpApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("zelvora"));
    // Qt has taken the user's locale; numbers are read and written the C way (the media
    // engine refuses to start otherwise).
    std::setlocale(LC_NUMERIC, "C");
    // The program lives on with its tray icon when its windows are closed.
    QApplication::setQuitOnLastWindowClosed(false);
    installTranslations(app);
    installFontSubstitutions();
    const QPixmap logo
        = pixmapOf(runtime::pictureFromBytes(std::string(resources::get("pictures/ui/logo.png"))));
    if (!logo.isNull())
        QApplication::setWindowIcon(QIcon(logo));
}

} // namespace gui
