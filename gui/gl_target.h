#pragma once
// What the video renderer draws into on its OpenGL path: a context of its own on an offscreen
// surface (never a window), and a framebuffer the size of the picture whose pixels are read
// back into the picture the surface paints.
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSize>
#include <cstddef>

namespace gui {

class GlTarget {
public:
    GlTarget() = default;
    ~GlTarget();
    GlTarget(const GlTarget&) = delete;
    GlTarget& operator=(const GlTarget&) = delete;

    // Makes the context and makes it current; false when OpenGL cannot be had.
    bool create();
    bool makeCurrent();
    // For mpv's OpenGL renderer: a function of the context by name.
    static void* procAddress(void* self, const char* name);
    // The framebuffer of size (made again when the size changes); made current first.
    unsigned framebuffer(QSize size);
    // The framebuffer's pixels as rows of stride bytes, top row first, in QImage's RGB32.
    void read(uchar* pixels, size_t stride);

private:
    void freeFramebuffer();

    QOpenGLContext m_context;
    QOffscreenSurface m_surface;
    unsigned m_framebuffer = 0;
    unsigned m_texture = 0;
    QSize m_size;
};

} // namespace gui
