#include "MpvSoftwareSurface.h"

#include <QPainter>
#include <cmath>
#include <mpv/render.h>
#include <utility>

namespace {
constexpr size_t kAlign = 64; // mpv's fast paths want rows and pixels on 64-byte boundaries

// QImage::Format_RGB32 in memory order, so the frame is painted without a conversion.
char* rgb32Format() {
    static char littleEndian[] = "bgr0", bigEndian[] = "0rgb";
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? littleEndian : bigEndian;
}
} // namespace

MpvSoftwareSurface::MpvSoftwareSurface(mpv_handle* mpv, std::function<void(bool)> onReady, QWidget* parent)
    : QWidget(parent), m_mpv(mpv), m_onReady(std::move(onReady)) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted: no background first
    if (!m_mpv)
        return;
    char api[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr; // no video then; sound still plays
        return;
    }
    mpv_render_context_set_update_callback(m_render, &MpvSoftwareSurface::onRenderUpdate, this);
    m_onReady(true);
}

MpvSoftwareSurface::~MpvSoftwareSurface() {
    releaseRenderContext();
}

void MpvSoftwareSurface::releaseRenderContext() {
    if (!m_render)
        return;
    m_onReady(false);                  // the owner turns video off while the context still exists
    mpv_render_context_free(m_render); // waits for mpv's video thread; no updates come after it
    m_render = nullptr;
}

// Renders the current frame into an image of the given size, reusing the pixels while the size holds.
bool MpvSoftwareSurface::renderFrame(const QSize& pixels) {
    if (!m_render || pixels.isEmpty())
        return false;
    if (m_frame.size() != pixels) {
        size_t stride = (static_cast<size_t>(pixels.width()) * 4 + kAlign - 1) / kAlign * kAlign;
        m_frame = QImage();
        m_buffer.reset(static_cast<uchar*>(std::aligned_alloc(kAlign, stride * pixels.height())));
        if (!m_buffer)
            return false;
        m_frame = QImage(m_buffer.get(), pixels.width(), pixels.height(), static_cast<qsizetype>(stride),
                         QImage::Format_RGB32);
    }
    int size[2] = {pixels.width(), pixels.height()};
    size_t stride = static_cast<size_t>(m_frame.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, rgb32Format()},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, m_buffer.get()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(m_render, params) >= 0;
}

void MpvSoftwareSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::lround(width() * ratio)),
                       static_cast<int>(std::lround(height() * ratio)));
    if (!renderFrame(pixels)) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    m_frame.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), m_frame);
}

// Called on one of mpv's threads: only hand a repaint request to the GUI thread.
void MpvSoftwareSurface::onRenderUpdate(void* context) {
    QMetaObject::invokeMethod(static_cast<MpvSoftwareSurface*>(context), "update", Qt::QueuedConnection);
}
