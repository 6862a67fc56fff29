#pragma once
// Draws the video of an mpv player into a picture in memory with mpv's software renderer, at
// the size the surface shows it in device pixels: no native child window and no graphics
// context of the program's own. mpv says from its threads that a frame is due; the picture is
// drawn on the interface thread, which never waits for a frame's display time.
#include <QImage>
#include <QObject>
#include <QSize>
#include <atomic>
#include <functional>
#include <memory>

struct mpv_handle;
struct mpv_render_context;

namespace gui {

class FrameRenderer {
public:
    // Made before the player's video output starts (mpv shows no video without it). frameDrawn runs
    // on context's thread after each picture drawn.
    FrameRenderer(mpv_handle* mpv, QObject* context, std::function<void()> frameDrawn);
    // Frees the render context; the player itself must still exist.
    ~FrameRenderer();
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    // Whether mpv accepted the renderer.
    bool ready() const { return m_context != nullptr; }
    // The renderer's name, as the layout report gives it.
    static const char* name() { return "software"; }
    // Where the picture is shown, in device pixels; an empty size draws nothing (frames are
    // still taken so the player goes on). The current frame is drawn again at the new size.
    // The picture carries the screen's ratio of device pixels to the widget's.
    void setTargetSize(QSize size, qreal ratio);
    // The last picture drawn (null before the first frame and after forget()).
    const QImage& picture() const { return m_drawn ? m_picture : m_none; }
    // The medium has no picture any more (closed, or a song).
    void forget() { m_drawn = false; }

private:
    void updateDue();
    void draw(bool skip);

    mpv_render_context* m_context = nullptr;
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
