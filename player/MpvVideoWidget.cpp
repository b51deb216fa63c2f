#include "MpvVideoWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
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

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, QWidget* parent) : QOpenGLWidget(parent), m_mpv(mpv) {
    setObjectName(QStringLiteral("MPlayerVideo"));
    setAccessibleName(QStringLiteral("Video"));
    setFocusPolicy(Qt::ClickFocus);
}

MpvVideoWidget::~MpvVideoWidget() {
    releaseRenderContext();
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

void MpvVideoWidget::initializeGL() {
    // Reparenting to and from full screen builds a new GL context; the old one said goodbye first.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvVideoWidget::releaseRenderContext,
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
    mpv_render_context_set_update_callback(m_render, &MpvVideoWidget::onRenderUpdate, this);
    emit renderReadyChanged(true);
}

void MpvVideoWidget::releaseRenderContext() {
    if (!m_render)
        return;
    emit renderReadyChanged(false); // the owner turns video off while the context still exists
    const bool haveContext = context() != nullptr;
    if (haveContext)
        makeCurrent();
    mpv_render_context_free(m_render); // waits for mpv's video thread; no updates come after it
    m_render = nullptr;
    if (haveContext)
        doneCurrent();
}

void MpvVideoWidget::paintGL() {
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
void MpvVideoWidget::onRenderUpdate(void* context) {
    QMetaObject::invokeMethod(static_cast<MpvVideoWidget*>(context), "update", Qt::QueuedConnection);
}

void MpvVideoWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isWindow()) {
        emit leaveFullScreen();
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}

void MpvVideoWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isWindow()) {
        emit leaveFullScreen();
        return;
    }
    QOpenGLWidget::mouseDoubleClickEvent(event);
}

void MpvVideoWidget::closeEvent(QCloseEvent* event) {
    // Closing the full-screen window only brings the video back into the player.
    if (isWindow()) {
        event->ignore();
        emit leaveFullScreen();
        return;
    }
    QOpenGLWidget::closeEvent(event);
}
