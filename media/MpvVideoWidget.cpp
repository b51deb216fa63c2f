#include "MpvVideoWidget.h"

#include "MpvGlSurface.h"
#include "MpvSoftwareSurface.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, VideoDrawing drawing, QWidget* parent)
    : QWidget(parent),
      m_render(mpv, [this](bool ready) { emit renderReadyChanged(ready); }) {
    setObjectName(QStringLiteral("MPlayerVideo"));
    setAccessibleName(QStringLiteral("Video"));
    setFocusPolicy(Qt::ClickFocus);
    if (drawing == VideoDrawing::OpenGL)
        m_surface = new MpvGlSurface(m_render, this);
    else
        m_surface = new MpvSoftwareSurface(m_render, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_surface);
}

MpvVideoWidget::~MpvVideoWidget() {
    m_render.release(); // while this object can still hear it
    delete m_surface;   // before the context it draws through
}

// Escape leaves full screen when it is let go: the window goes with it, and Qt's accessibility
// bridge, which holds each key event until the screen reader has seen it, would otherwise keep a
// release bound for a window that is gone and never free it.
void MpvVideoWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isWindow())
        return;
    QWidget::keyPressEvent(event);
}

void MpvVideoWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isWindow() && !event->isAutoRepeat()) {
        emit leaveFullScreen();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void MpvVideoWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isWindow()) {
        emit leaveFullScreen();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void MpvVideoWidget::closeEvent(QCloseEvent* event) {
    // Closing the full-screen window only brings the video back into the player.
    if (isWindow()) {
        event->ignore();
        emit leaveFullScreen();
        return;
    }
    QWidget::closeEvent(event);
}
