#pragma once

#include "MpvRenderContext.h"
#include "VideoDrawing.h"

#include <QWidget>
#include <atomic>

struct mpv_handle;

// The video area: paints the pictures the render thread draws, at the area's own size, and leaves
// full screen on Escape, a double-click or a close of its own window.
class MpvVideoWidget : public QWidget {
    Q_OBJECT
  public:
    MpvVideoWidget(mpv_handle* mpv, VideoDrawing drawing, QWidget* parent);
    ~MpvVideoWidget() override;

    bool renderReady() const { return m_render.ready(); }
    // Before the engine goes: no frame is drawn after it.
    void releaseRenderContext() { m_render.release(); }
    // Black until the next media's first picture.
    void clearPicture();

  signals:
    void renderReadyChanged(bool ready);
    void leaveFullScreen();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void followSize();
    // The widget's size in device pixels, which the pictures are drawn at.
    QSize pixelSize() const;

    VideoDrawing m_drawing;
    std::atomic<bool> m_paintQueued = false;
    MpvRenderContext m_render;
};
