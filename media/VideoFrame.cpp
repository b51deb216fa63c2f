#include "VideoFrame.h"

namespace {
constexpr size_t kAlign = 64;
} // namespace

bool VideoFrame::reserve(QSize size, QImage::Format format) {
    if (m_image.size() == size && m_image.format() == format)
        return true;
    clear();
    if (size.isEmpty())
        return false;
    const size_t stride = (static_cast<size_t>(size.width()) * 4 + kAlign - 1) / kAlign * kAlign;
    m_buffer.reset(
        static_cast<uchar*>(std::aligned_alloc(kAlign, stride * static_cast<size_t>(size.height()))));
    if (!m_buffer)
        return false;
    m_image = QImage(m_buffer.get(), size.width(), size.height(), static_cast<qsizetype>(stride), format);
    return true;
}

void VideoFrame::clear() {
    m_image = QImage();
    m_buffer.reset();
}
