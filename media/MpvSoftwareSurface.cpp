#include "MpvSoftwareSurface.h"

#include "MpvRenderContext.h"

#include <QPainter>
#include <cmath>
#include <mpv/render.h>

namespace {
constexpr size_t kAlign = 64; // mpv's fast paths want rows and pixels on 64-byte boundaries

// QImage::Format_RGB32 in memory order, so the frame is painted without a conversion.
char* rgb32Format() {
    static char littleEndian[] = "bgr0", bigEndian[] = "0rgb";
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? littleEndian : bigEndian;
}
} // namespace

MpvSoftwareSurface::MpvSoftwareSurface(MpvRenderContext& render, QWidget* parent)
    : QWidget(parent), m_render(render) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted: no background first
    m_render.attach(this);
    m_render.create(MPV_RENDER_API_TYPE_SW);
}

MpvSoftwareSurface::~MpvSoftwareSurface() {
    m_render.release();
    m_render.attach(nullptr);
}

// Renders the current frame into an image of the given size, reusing the pixels while the size holds.
bool MpvSoftwareSurface::renderFrame(const QSize& pixels) {
    if (!m_render.ready() || pixels.isEmpty())
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
    return m_render.render(params);
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
