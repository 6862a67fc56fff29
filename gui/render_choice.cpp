#include "gui/render_choice.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <vector>

namespace gui {

namespace {

// How long the probe may take before the software path is taken.
constexpr int kProbeMs = 5000;

struct State {
    bool started = false;
    std::optional<RenderPath> chosen;
    std::vector<std::pair<QPointer<QObject>, std::function<void(RenderPath)>>> waiting;
};

State& state()
{
    static State s;
    return s;
}

std::optional<RenderPath> forced()
{
    const QString word = qEnvironmentVariable("ZELVORA_RENDER").toLower();
    if (word == QLatin1String("opengl"))
        return RenderPath::OpenGL;
    if (word == QLatin1String("software"))
        return RenderPath::Software;
    return std::nullopt;
}

void choose(RenderPath path)
{
    State& s = state();
    if (s.chosen)
        return;
    s.chosen = path;
    auto waiting = std::move(s.waiting);
    for (auto& [context, then] : waiting) {
        if (context)
            then(path);
    }
}

} // namespace

bool RenderChoice::softwareRasteriser(const QString& renderer)
{
    const QString name = renderer.toLower();
    return name.contains(QLatin1String("llvmpipe")) || name.contains(QLatin1String("softpipe"))
        || name.contains(QLatin1String("swrast")) || name.contains(QLatin1String("software"));
}

void RenderChoice::start()
{
    State& s = state();
    if (s.started || s.chosen)
        return;
    s.started = true;
    if (const auto path = forced()) {
        choose(*path);
        return;
    }
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland"))) {
        choose(RenderPath::Software);
        return;
    }
    auto* probe = new QProcess(qApp);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELVORA_OPENGL_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    probe->setProcessEnvironment(env);
    probe->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(probe, &QProcess::finished, probe, [probe](int code, QProcess::ExitStatus status) {
        const QString renderer = QString::fromUtf8(probe->readAllStandardOutput()).trimmed();
        const bool hardware = status == QProcess::NormalExit && code == 0 && !renderer.isEmpty()
            && !softwareRasteriser(renderer);
        choose(hardware ? RenderPath::OpenGL : RenderPath::Software);
        probe->deleteLater();
    });
    QObject::connect(probe, &QProcess::errorOccurred, probe, [probe](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            choose(RenderPath::Software);
            probe->deleteLater();
        }
    });
    // A probe that hangs (a broken driver) decides nothing: the software path it is.
    QTimer::singleShot(kProbeMs, probe, [probe] {
        choose(RenderPath::Software);
        probe->kill();
    });
    probe->start(QCoreApplication::applicationFilePath(), {});
}

RenderPath RenderChoice::path()
{
    const State& s = state();
    if (s.chosen)
        return *s.chosen;
    return s.started ? RenderPath::Software : forced().value_or(RenderPath::Software);
}

void RenderChoice::whenKnown(QObject* context, std::function<void(RenderPath)> then)
{
    State& s = state();
    if (s.chosen || !s.started)
        then(path());
    else
        s.waiting.emplace_back(context, std::move(then));
}

int RenderChoice::probe(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return 1;
    const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    if (!renderer)
        return 1;
    std::printf("%s\n", renderer);
    return 0;
}

} // namespace gui
