#pragma once

#include "MpvRenderContext.h"

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// Draws with OpenGL, where a graphics card scales and converts the frames: into a frame buffer of
// the render thread's own GL context, read back into memory. So the window itself stays a plain one:
// no GL composition or buffer swap waits on the GUI thread, and going full screen keeps the context.
class MpvGlDrawing : public FrameDrawing {
  public:
    MpvGlDrawing(); // on the GUI thread, which alone may make the surface
    ~MpvGlDrawing() override;

    bool setUp() override;
    std::vector<mpv_render_param> contextParams() override;
    bool draw(mpv_render_context* render, VideoFrame& frame, QSize size) override;
    void tearDown() override;

  private:
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_target;
};
