#pragma once

#include "MpvRenderContext.h"

// Draws in memory: mpv scales and converts each frame itself. No GL library is loaded.
class MpvSoftwareDrawing : public FrameDrawing {
  public:
    bool setUp() override { return true; }
    std::vector<mpv_render_param> contextParams() override;
    bool draw(mpv_render_context* render, VideoFrame& frame, QSize size) override;
    void tearDown() override {}
};
