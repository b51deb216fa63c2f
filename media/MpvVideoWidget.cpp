#include "MpvVideoWidget.h"

#include "MpvGlDrawing.h"
#include "MpvSoftwareDrawing.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <cmath>

namespace {
// GL is drawn on the render thread only where the platform allows GL off the GUI thread.
VideoDrawing possible(VideoDrawing drawing) {
    return drawing == VideoDrawing::OpenGL && !QOpenGLContext::supportsThreadedOpenGL()
               ? VideoDrawing::Software
               : drawing;
}

std::unique_ptr<FrameDrawing> makeDrawing(VideoDrawing drawing) {
    if (drawing == VideoDrawing::OpenGL)
        return std::make_unique<MpvGlDrawing>();
    return std::make_unique<MpvSoftwareDrawing>();
}
} // namespace

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, VideoDrawing drawing, QWidget* parent)
    : QWidget(parent), m_drawing(possible(drawing)),
      m_render(
          mpv, makeDrawing(m_drawing), [this](bool ready) { emit renderReadyChanged(ready); },
          // on the render thread: one repaint asked at a time, however many frames come meanwhile
          [this] {
              if (!m_paintQueued.exchange(true))
                  QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
          }) {
    setObjectName(QStringLiteral("MPlayerVideo"));
    setAccessibleName(QStringLiteral("Video"));
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted: no background first
    m_render.start();
}

MpvVideoWidget::~MpvVideoWidget() {
    m_render.release(); // while this object can still hear it
}

void MpvVideoWidget::clearPicture() {
    m_render.clearFrames();
    update();
}

void MpvVideoWidget::paintEvent(QPaintEvent*) {
    m_paintQueued = false;
    QPainter painter(this);
    const QImage& frame = m_render.latestFrame();
    if (frame.size() == pixelSize()) {
        QImage shown = frame; // shares the pixels
        shown.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(QPointF(0, 0), shown);
        return;
    }
    // None yet, or just resized: black until a picture of the new size comes (a frame's time at most);
    // the old one stretched would show the picture where it will not be.
    painter.fillRect(rect(), Qt::black);
}

void MpvVideoWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followSize();
}

void MpvVideoWidget::followSize() {
    m_render.setTargetSize(pixelSize());
}

QSize MpvVideoWidget::pixelSize() const {
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio))};
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
