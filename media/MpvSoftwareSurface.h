#pragma once

#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <memory>

class MpvRenderContext;

// Draws the video in memory: mpv scales and converts each frame into an image of the widget's size,
// which is painted like any other picture. No GL library is loaded.
class MpvSoftwareSurface : public QWidget {
  public:
    MpvSoftwareSurface(MpvRenderContext& render, QWidget* parent);
    ~MpvSoftwareSurface() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool renderFrame(const QSize& pixels);

    struct FreeBuffer {
        void operator()(uchar* data) const { std::free(data); }
    };

    MpvRenderContext& m_render;
    std::unique_ptr<uchar, FreeBuffer> m_buffer; // the image's pixels, aligned as mpv likes them
    QImage m_frame;
};
