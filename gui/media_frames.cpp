#include "gui/media_frames.h"

#include <cstring>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include "gui/gl_target.h"

namespace gui {

namespace {

constexpr size_t kAlign = 64;

} // namespace

FrameRenderer::FrameRenderer(
    mpv_handle* mpv, QObject* context, std::function<void()> frameDrawn, RenderPath path)
    : m_owner(context)
    , m_frameDrawn(std::move(frameDrawn))
{
    if (path == RenderPath::OpenGL && !createOpenGl(mpv))
        m_gl.reset();
    if (!m_context) {
        char api[] = MPV_RENDER_API_TYPE_SW;
        mpv_render_param params[]
            = { { MPV_RENDER_PARAM_API_TYPE, api }, { MPV_RENDER_PARAM_INVALID, nullptr } };
        if (mpv_render_context_create(&m_context, mpv, params) < 0) {
            m_context = nullptr;
            return;
        }
    }
    // Called on one of mpv's threads: the drawing is handed to the interface thread, once for
    // any number of updates that arrive before it runs.
    mpv_render_context_set_update_callback(
        m_context,
        [](void* data) {
            auto* self = static_cast<FrameRenderer*>(data);
            if (self->m_queued->exchange(true))
                return;
            QMetaObject::invokeMethod(
                self->m_owner, [self] { self->updateDue(); }, Qt::QueuedConnection);
        },
        this);
}

FrameRenderer::~FrameRenderer()
{
    if (!m_context)
        return;
    // No update callback runs past this (mpv holds its lock while calling it); a call already
    // queued dies with the owner, which outlives nothing of this.
    mpv_render_context_set_update_callback(m_context, nullptr, nullptr);
    // mpv frees its OpenGL objects in the context they belong to.
    if (m_gl)
        m_gl->makeCurrent();
    mpv_render_context_free(m_context);
}

bool FrameRenderer::createOpenGl(mpv_handle* mpv)
{
    m_gl = std::make_unique<GlTarget>();
    if (!m_gl->create())
        return false;
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_opengl_init_params init { &GlTarget::procAddress, m_gl.get() };
    mpv_render_param params[] = { { MPV_RENDER_PARAM_API_TYPE, api },
        { MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init }, { MPV_RENDER_PARAM_INVALID, nullptr } };
    if (mpv_render_context_create(&m_context, mpv, params) < 0) {
        m_context = nullptr;
        return false;
    }
    return true;
}

int FrameRenderer::drawOpenGl(bool skip)
{
    // Nothing is shown while the size is empty; the frame is taken all the same.
    mpv_opengl_fbo fbo { static_cast<int>(m_gl->framebuffer(m_pixels ? m_size : QSize(1, 1))),
        m_pixels ? m_size.width() : 1, m_pixels ? m_size.height() : 1, 0 };
    int flip = 0;
    int noWait = 0;
    int skipping = skip ? 1 : 0;
    mpv_render_param params[] = {
        { MPV_RENDER_PARAM_OPENGL_FBO, &fbo },
        { MPV_RENDER_PARAM_FLIP_Y, &flip },
        { MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &noWait },
        { MPV_RENDER_PARAM_SKIP_RENDERING, &skipping },
        { MPV_RENDER_PARAM_INVALID, nullptr },
    };
    const int result = mpv_render_context_render(m_context, params);
    if (result >= 0 && !skip)
        m_gl->read(m_pixels, static_cast<size_t>(m_picture.bytesPerLine()));
    return result;
}

void FrameRenderer::setTargetSize(QSize size, qreal ratio)
{
    if (size == m_size && ratio == m_ratio)
        return;
    m_size = size;
    m_ratio = ratio;
    m_picture = QImage();
    m_drawn = false;
    if (size.isEmpty()) {
        m_buffer.reset();
        m_pixels = nullptr;
        return;
    }
    const size_t stride = (static_cast<size_t>(size.width()) * 4 + kAlign - 1) / kAlign * kAlign;
    const size_t bytes = stride * static_cast<size_t>(size.height()) + kAlign;
    m_buffer = std::make_unique<uchar[]>(bytes);
    const auto address = reinterpret_cast<uintptr_t>(m_buffer.get());
    m_pixels = m_buffer.get() + (kAlign - address % kAlign) % kAlign;
    std::memset(m_pixels, 0, stride * static_cast<size_t>(size.height()));
    m_picture
        = QImage(m_pixels, size.width(), size.height(), static_cast<qsizetype>(stride), QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
    // The frame on show, drawn again at the new size.
    draw(false);
}

void FrameRenderer::updateDue()
{
    m_queued->store(false);
    if (!m_context)
        return;
    if (mpv_render_context_update(m_context) & MPV_RENDER_UPDATE_FRAME)
        draw(m_pixels == nullptr);
}

void FrameRenderer::draw(bool skip)
{
    if (!m_context)
        return;
    if (m_gl) {
        if (drawOpenGl(skip) < 0 || skip)
            return;
        m_drawn = true;
        if (m_frameDrawn)
            m_frameDrawn();
        return;
    }
    int size[2] = { m_size.width(), m_size.height() };
    char format[] = "bgr0"; // QImage's RGB32 in memory on a little-endian machine
    size_t stride = static_cast<size_t>(m_picture.bytesPerLine());
    // The interface thread draws the frame now and never waits for its display time.
    int noWait = 0;
    int skipping = skip ? 1 : 0;
    mpv_render_param params[] = {
        { MPV_RENDER_PARAM_SW_SIZE, size },
        { MPV_RENDER_PARAM_SW_FORMAT, format },
        { MPV_RENDER_PARAM_SW_STRIDE, &stride },
        { MPV_RENDER_PARAM_SW_POINTER, m_pixels },
        { MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &noWait },
        { MPV_RENDER_PARAM_SKIP_RENDERING, &skipping },
        { MPV_RENDER_PARAM_INVALID, nullptr },
    };
    if (mpv_render_context_render(m_context, params) < 0 || skip)
        return;
    m_drawn = true;
    if (m_frameDrawn)
        m_frameDrawn();
}

} // namespace gui
