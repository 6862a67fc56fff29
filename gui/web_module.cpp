#include "gui/web_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QStringList>
#include <cstdio>

#include "gui/look.h"

// Qt's own, exported but not in its public headers: the context every other one shares with.
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace gui {

namespace {

// Where the module may be: named by the environment, where this build put it, beside the
// executable, or in the installed library folder.
QStringList candidates()
{
    QStringList paths;
    const QString env = qEnvironmentVariable("ZELVORA_WEB_MODULE");
    if (!env.isEmpty())
        paths << env;
#ifdef ZELVORA_WEB_MODULE_PATH
    paths << QStringLiteral(ZELVORA_WEB_MODULE_PATH);
#endif
    const QString dir = QCoreApplication::applicationDirPath();
    paths << dir + QStringLiteral("/libzelvora_web.so")
          << dir + QStringLiteral("/../lib/zelvora/libzelvora_web.so");
    return paths;
}

// Qt WebEngine draws through a graphics context shared with the windows'. Qt makes that
// context at start-up when asked to, which loads the OpenGL library into every run; it is
// made here instead, just before the engine starts.
void shareGraphicsContexts()
{
    if (QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts))
        return;
    // Made as Qt makes it at start-up: kept also where it cannot be created (no OpenGL on the
    // platform), and the engine then draws without it.
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
    // The engine reads the attribute to know that the context (if any) is meant for it. Qt
    // warns that it belongs before start-up; here it is late on purpose.
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(previous);
}

} // namespace

WebModule::WebModule() = default;

WebModule::~WebModule() = default;

bool WebModule::load()
{
    if (m_tried)
        return m_create != nullptr;
    m_tried = true;
    QString errors;
    shareGraphicsContexts();
    for (const QString& path : candidates()) {
        if (!QFileInfo::exists(path))
            continue;
        m_library.setFileName(path);
        if (m_library.load()) {
            m_create = reinterpret_cast<CreateWebPageFunction>(m_library.resolve(kCreateWebPageSymbol));
            if (m_create)
                return true;
        }
        errors += QStringLiteral(" ") + m_library.errorString();
    }
    std::fprintf(stderr,
        "zelvora: the web page module is missing or broken; pages are read but not shown%s\n",
        utf8(errors).c_str());
    return false;
}

std::unique_ptr<WebPage> WebModule::createPage(const WebStorage& storage)
{
    if (!load())
        return nullptr;
    return std::unique_ptr<WebPage>(m_create(storage));
}

QFunctionPointer WebModule::symbol(const char* name)
{
    return loaded() ? m_library.resolve(name) : nullptr;
}

} // namespace gui
