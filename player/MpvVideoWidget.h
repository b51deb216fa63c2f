#pragma once

#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

// Draws mpv's video through its render API. The render context lives as long as the GL context:
// it is freed (GL current) before the GL context goes, e.g. when the widget moves to full screen.
class MpvVideoWidget : public QOpenGLWidget {
    Q_OBJECT
  public:
    MpvVideoWidget(mpv_handle* mpv, QWidget* parent);
    ~MpvVideoWidget() override;

    bool renderReady() const { return m_render != nullptr; }
    void releaseRenderContext();

  signals:
    void renderReadyChanged(bool ready);
    void leaveFullScreen();

  protected:
    void initializeGL() override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    static void onRenderUpdate(void* context);

    mpv_handle* m_mpv;
    mpv_render_context* m_render = nullptr;
};
