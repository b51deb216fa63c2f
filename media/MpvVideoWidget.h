#pragma once

#include "MpvRenderContext.h"
#include "VideoDrawing.h"

#include <QWidget>

struct mpv_handle;

// The video area: draws through a surface of the chosen kind and leaves full screen on Escape, a
// double-click or a close of its own window.
class MpvVideoWidget : public QWidget {
    Q_OBJECT
  public:
    MpvVideoWidget(mpv_handle* mpv, VideoDrawing drawing, QWidget* parent);
    ~MpvVideoWidget() override;

    bool renderReady() const { return m_render.ready(); }
    // Before the engine goes: no frame is drawn after it.
    void releaseRenderContext() { m_render.release(); }

  signals:
    void renderReadyChanged(bool ready);
    void leaveFullScreen();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    MpvRenderContext m_render;
    QWidget* m_surface; // a child widget, drawing through m_render
};
