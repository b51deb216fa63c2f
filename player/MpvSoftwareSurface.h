#pragma once

#include "VideoDrawing.h"

#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>

struct mpv_handle;
struct mpv_render_context;

// Draws mpv's video in memory: mpv scales and converts each frame into an image of the widget's
// size, which is painted like any other picture. No GL library is loaded.
class MpvSoftwareSurface : public QWidget, public VideoSurface {
  public:
    MpvSoftwareSurface(mpv_handle* mpv, std::function<void(bool)> onReady, QWidget* parent);
    ~MpvSoftwareSurface() override;

    QWidget* widget() override { return this; }
    bool renderReady() const override { return m_render != nullptr; }
    void releaseRenderContext() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    static void onRenderUpdate(void* context);
    bool renderFrame(const QSize& pixels);

    struct FreeBuffer {
        void operator()(uchar* data) const { std::free(data); }
    };

    mpv_handle* m_mpv;
    std::function<void(bool)> m_onReady;
    mpv_render_context* m_render = nullptr;
    std::unique_ptr<uchar, FreeBuffer> m_buffer; // the image's pixels, aligned as mpv likes them
    QImage m_frame;
};
