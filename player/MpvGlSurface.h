#pragma once

#include "VideoDrawing.h"

#include <QOpenGLWidget>
#include <functional>

struct mpv_handle;
struct mpv_render_context;

// Draws mpv's video with OpenGL. The render context lives as long as the GL context: it is freed
// (GL current) before the GL context goes, e.g. when the video area moves to full screen.
class MpvGlSurface : public QOpenGLWidget, public VideoSurface {
  public:
    MpvGlSurface(mpv_handle* mpv, std::function<void(bool)> onReady, QWidget* parent);
    ~MpvGlSurface() override;

    QWidget* widget() override { return this; }
    bool renderReady() const override { return m_render != nullptr; }
    void releaseRenderContext() override;

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    static void onRenderUpdate(void* context);

    mpv_handle* m_mpv;
    std::function<void(bool)> m_onReady;
    mpv_render_context* m_render = nullptr;
};
