#pragma once

#include <QOpenGLWidget>

class MpvRenderContext;

// Draws the video with OpenGL. The render context lives as long as the GL context: it is freed (GL
// current) before the GL context goes, e.g. when the video area moves to full screen.
class MpvGlSurface : public QOpenGLWidget {
  public:
    MpvGlSurface(MpvRenderContext& render, QWidget* parent);
    ~MpvGlSurface() override;

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    MpvRenderContext& m_render;
};
