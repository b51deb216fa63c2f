#include "MpvGlSurface.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <cmath>
#include <mpv/render_gl.h>
#include <utility>

namespace {
void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}
} // namespace

MpvGlSurface::MpvGlSurface(mpv_handle* mpv, std::function<void(bool)> onReady, QWidget* parent)
    : QOpenGLWidget(parent), m_mpv(mpv), m_onReady(std::move(onReady)) {
    setFocusPolicy(Qt::NoFocus);
}

MpvGlSurface::~MpvGlSurface() {
    releaseRenderContext();
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

void MpvGlSurface::initializeGL() {
    // Reparenting to and from full screen builds a new GL context; the old one said goodbye first.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvGlSurface::releaseRenderContext,
            Qt::DirectConnection);
    if (!m_mpv || m_render)
        return;
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr; // no video then; sound still plays
        return;
    }
    mpv_render_context_set_update_callback(m_render, &MpvGlSurface::onRenderUpdate, this);
    m_onReady(true);
}

void MpvGlSurface::releaseRenderContext() {
    if (!m_render)
        return;
    m_onReady(false); // the owner turns video off while the context still exists
    const bool haveContext = context() != nullptr;
    if (haveContext)
        makeCurrent();
    mpv_render_context_free(m_render); // waits for mpv's video thread; no updates come after it
    m_render = nullptr;
    if (haveContext)
        doneCurrent();
}

void MpvGlSurface::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!m_render)
        return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                       static_cast<int>(std::lround(width() * ratio)),
                       static_cast<int>(std::lround(height() * ratio)), 0};
    int flipY = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
}

// Called on one of mpv's threads: only hand a repaint request to the GUI thread.
void MpvGlSurface::onRenderUpdate(void* context) {
    QMetaObject::invokeMethod(static_cast<MpvGlSurface*>(context), "update", Qt::QueuedConnection);
}
