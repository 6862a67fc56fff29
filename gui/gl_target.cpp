#include "gui/gl_target.h"

#include <QOpenGLFunctions>

namespace gui {

namespace {

// Desktop OpenGL's names that OpenGL ES's headers may lack.
constexpr GLenum kBgra = 0x80E1;
constexpr GLenum kRgba8 = 0x8058;
constexpr GLenum kPackRowLength = 0x0D02;

} // namespace

GlTarget::~GlTarget()
{
    if (m_context.isValid() && makeCurrent()) {
        freeFramebuffer();
        m_context.doneCurrent();
    }
}

bool GlTarget::create()
{
    m_surface.setFormat(m_context.format());
    m_surface.create();
    return m_context.create() && m_surface.isValid() && makeCurrent();
}

bool GlTarget::makeCurrent()
{
    return m_context.makeCurrent(&m_surface);
}

void* GlTarget::procAddress(void* self, const char* name)
{
    return reinterpret_cast<void*>(static_cast<GlTarget*>(self)->m_context.getProcAddress(name));
}

void GlTarget::freeFramebuffer()
{
    QOpenGLFunctions* gl = m_context.functions();
    if (m_framebuffer)
        gl->glDeleteFramebuffers(1, &m_framebuffer);
    if (m_texture)
        gl->glDeleteTextures(1, &m_texture);
    m_framebuffer = m_texture = 0;
}

unsigned GlTarget::framebuffer(QSize size)
{
    makeCurrent();
    if (size == m_size && m_framebuffer)
        return m_framebuffer;
    freeFramebuffer();
    m_size = size;
    QOpenGLFunctions* gl = m_context.functions();
    gl->glGenTextures(1, &m_texture);
    gl->glBindTexture(GL_TEXTURE_2D, m_texture);
    gl->glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(kRgba8), size.width(), size.height(), 0, GL_RGBA,
        GL_UNSIGNED_BYTE, nullptr);
    gl->glGenFramebuffers(1, &m_framebuffer);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    gl->glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_texture, 0);
    gl->glBindTexture(GL_TEXTURE_2D, 0);
    return m_framebuffer;
}

void GlTarget::read(uchar* pixels, size_t stride)
{
    QOpenGLFunctions* gl = m_context.functions();
    gl->glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    gl->glPixelStorei(kPackRowLength, static_cast<GLint>(stride / 4));
    gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // The renderer draws the picture's top row into the framebuffer's first (no flip asked).
    gl->glReadPixels(0, 0, m_size.width(), m_size.height(), kBgra, GL_UNSIGNED_BYTE, pixels);
    gl->glPixelStorei(kPackRowLength, 0);
}

} // namespace gui
