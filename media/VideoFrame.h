#pragma once

#include <QImage>
#include <QSize>
#include <cstdlib>
#include <memory>

// One picture in memory, its rows on 64-byte boundaries as mpv's fast paths like them.
class VideoFrame {
  public:
    // Makes room for a picture of `size` in `format`, keeping the memory while both hold; false when
    // there is no memory for it.
    bool reserve(QSize size, QImage::Format format);
    uchar* bits() { return m_buffer.get(); }
    size_t stride() const { return static_cast<size_t>(m_image.bytesPerLine()); }
    QSize size() const { return m_image.size(); }
    const QImage& image() const { return m_image; }
    void clear();

  private:
    struct FreeBuffer {
        void operator()(uchar* data) const { std::free(data); }
    };
    std::unique_ptr<uchar, FreeBuffer> m_buffer;
    QImage m_image; // over m_buffer
};
