#pragma once
// How videos are drawn: through mpv's OpenGL renderer where the display offers a hardware
// OpenGL context, through its software renderer otherwise (a software rasteriser such as
// llvmpipe counts as none: the software renderer costs less than one). Chosen once at start.
#include <QObject>
#include <QString>
#include <functional>

namespace gui {

enum class RenderPath { Software, OpenGL };

class RenderChoice {
public:
    // Starts choosing. ZELVORA_RENDER=opengl or =software forces the choice; otherwise a run of
    // this program with ZELVORA_OPENGL_PROBE set names the renderer of a fresh OpenGL context
    // (a rasteriser loaded into the program only to be refused would stay in its memory).
    // Without a start (the tests) the choice is the software path, or what ZELVORA_RENDER says.
    static void start();
    // Runs then with the path once it is chosen: at once, or when the probe answers.
    static void whenKnown(QObject* context, std::function<void(RenderPath)> then);
    static const char* name(RenderPath path) { return path == RenderPath::OpenGL ? "opengl" : "software"; }
    // The path chosen, or the software path while the probe has not answered.
    static RenderPath path();
    // Whether an OpenGL renderer string names a software rasteriser.
    static bool softwareRasteriser(const QString& renderer);
    // The probe's own run: prints the renderer string of a fresh context; 0 when it could.
    static int probe(int argc, char** argv);
};

} // namespace gui
