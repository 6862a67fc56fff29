#include "gui/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
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
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder))
            continue;
        // The application owns the catalogues it uses.
        translator->setParent(&app);
        QApplication::installTranslator(translator.release());
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

namespace {

bool waylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

} // namespace

bool compositorPlacesWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform.startsWith(QLatin1String("wayland"))
        || (platform == QLatin1String("xcb") && waylandSession());
}

std::vector<char*> qtArguments(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    static char option[] = "-platform";
    static char x11[] = "xcb";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return args;
    }
    const bool wayland = waylandSession();
    // Natively, a compositor places each window where it likes and lets no program move its
    // own: the hub and its glued windows would fall apart. Through XWayland they keep
    // together. Given as an argument rather than in the environment, so the programs this
    // one starts keep the session's own choice.
    if (wayland && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        args.insert(args.begin() + 1, { option, x11 });
    }
    return args;
}

void setUpApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("zelvora"));
    // Qt has taken the user's locale; numbers are read and written the C way (the media
    // engine refuses to start otherwise).
    std::setlocale(LC_NUMERIC, "C");
    // Docks and task bars match the windows to the launcher by this name (the Wayland app id);
    // on X the windows' class is the application name, named in the entry as its window class.
    QGuiApplication::setDesktopFileName(QStringLiteral("cn.zelvora.Zelvora"));
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
