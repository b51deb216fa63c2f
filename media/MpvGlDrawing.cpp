#include "MpvGlDrawing.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <mpv/render_gl.h>

namespace {
void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

mpv_opengl_init_params glInit{&procAddress, nullptr};
} // namespace

MpvGlDrawing::MpvGlDrawing() : m_surface(std::make_unique<QOffscreenSurface>()) {
    m_surface->create();
}

MpvGlDrawing::~MpvGlDrawing() = default;

bool MpvGlDrawing::setUp() {
    m_context = std::make_unique<QOpenGLContext>();
    m_context->setFormat(m_surface->requestedFormat());
    return m_surface->isValid() && m_context->create() && m_context->makeCurrent(m_surface.get());
}

std::vector<mpv_render_param> MpvGlDrawing::contextParams() {
    return {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
            {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit}};
}

bool MpvGlDrawing::draw(mpv_render_context* render, VideoFrame& frame, QSize size) {
    if (!m_target || m_target->size() != size)
        m_target = std::make_unique<QOpenGLFramebufferObject>(size);
    // Rows as mpv draws them into a frame buffer are read back top row first.
    const bool gles = m_context->isOpenGLES();
    if (!m_target->isValid() || !frame.reserve(size, gles ? QImage::Format_RGBX8888 : QImage::Format_RGB32))
        return false;
    mpv_opengl_fbo fbo{static_cast<int>(m_target->handle()), size.width(), size.height(), 0};
    int flipY = 0;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(render, params) < 0)
        return false;
    QOpenGLFunctions* gl = m_context->functions();
    gl->glBindFramebuffer(GL_FRAMEBUFFER, m_target->handle());
    gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl->glPixelStorei(GL_PACK_ROW_LENGTH, static_cast<GLint>(frame.stride() / 4));
    gl->glReadPixels(0, 0, size.width(), size.height(), gles ? GL_RGBA : GL_BGRA, GL_UNSIGNED_BYTE,
                     frame.bits());
    gl->glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    return true;
}

void MpvGlDrawing::tearDown() {
    if (!m_context)
        return;
    m_target.reset(); // with its context current
    m_context->doneCurrent();
    m_context.reset();
}
