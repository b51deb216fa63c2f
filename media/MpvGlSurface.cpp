#include "MpvGlSurface.h"

#include "MpvRenderContext.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <cmath>
#include <mpv/render_gl.h>

namespace {
void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}
} // namespace

MpvGlSurface::MpvGlSurface(MpvRenderContext& render, QWidget* parent) : QOpenGLWidget(parent), m_render(render) {
    setFocusPolicy(Qt::NoFocus);
    m_render.attach(
        this,
        [this] {
            if (context())
                makeCurrent();
        },
        [this] {
            if (context())
                doneCurrent();
        });
}

MpvGlSurface::~MpvGlSurface() {
    m_render.release();
    m_render.attach(nullptr);
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

void MpvGlSurface::initializeGL() {
    // Reparenting to and from full screen builds a new GL context; the old one said goodbye first.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { m_render.release(); },
            Qt::DirectConnection);
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    mpv_render_param init[] = {{MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
    m_render.create(MPV_RENDER_API_TYPE_OPENGL, init);
}

void MpvGlSurface::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                       static_cast<int>(std::lround(width() * ratio)),
                       static_cast<int>(std::lround(height() * ratio)), 0};
    int flipY = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    m_render.render(params);
}
