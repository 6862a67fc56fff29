#pragma once
// Draws the video of an mpv player into a picture in memory, at the size the surface shows it
// in device pixels, with mpv's software renderer or its OpenGL renderer (into a framebuffer of
// an offscreen context, read back): no native child window either way. mpv says from its
// threads that a frame is due; the picture is drawn on the interface thread, which never waits
// for a frame's display time.
#include <QImage>
#include <QObject>
#include <QSize>
#include <atomic>
#include <functional>
#include <memory>

#include "gui/render_choice.h"

struct mpv_handle;
struct mpv_render_context;

namespace gui {

class GlTarget;

class FrameRenderer {
public:
    // Made before the player's video output starts (mpv shows no video without it). frameDrawn runs
    // on context's thread after each picture drawn.
    // The OpenGL path falls back to the software one where no context can be made.
    FrameRenderer(mpv_handle* mpv, QObject* context, std::function<void()> frameDrawn, RenderPath path);
    // Frees the render context; the player itself must still exist.
    ~FrameRenderer();
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    // Whether mpv accepted the renderer.
    [[nodiscard]] bool ready() const { return m_context != nullptr; }
    // The renderer's name, as the layout report gives it.
    [[nodiscard]] const char* name() const
    {
        return RenderChoice::name(m_gl ? RenderPath::OpenGL : RenderPath::Software);
    }
    // Where the picture is shown, in device pixels; an empty size draws nothing (frames are
    // still taken so the player goes on). The current frame is drawn again at the new size.
    // The picture carries the screen's ratio of device pixels to the widget's.
    void setTargetSize(QSize size, qreal ratio);
    // The last picture drawn (null before the first frame and after forget()).
    [[nodiscard]] const QImage& picture() const { return m_drawn ? m_picture : m_none; }
    // The medium has no picture any more (closed, or a song).
    void forget() { m_drawn = false; }

private:
    void updateDue();
    void draw(bool skip);

    // Makes the render context on the OpenGL path; false when it cannot be had.
    bool createOpenGl(mpv_handle* mpv);
    // Draws the frame into the framebuffer and reads it back.
    int drawOpenGl(bool skip);

    mpv_render_context* m_context = nullptr;
    std::unique_ptr<GlTarget> m_gl;
    QObject* m_owner;
    std::function<void()> m_frameDrawn;
    QSize m_size;
    qreal m_ratio = 1;
    // 64-byte aligned rows, as mpv's converters are fastest with.
    std::unique_ptr<uchar[]> m_buffer;
    uchar* m_pixels = nullptr;
    QImage m_picture;
    const QImage m_none;
    bool m_drawn = false;
    // Set while a call to updateDue is queued: mpv's updates between it are one.
    std::shared_ptr<std::atomic<bool>> m_queued = std::make_shared<std::atomic<bool>>(false);
};

} // namespace gui
