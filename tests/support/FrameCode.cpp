#include "FrameCode.h"

#include <algorithm>

namespace FrameCode {
namespace {
constexpr int kLit = 40;    // darker than this is the black around the picture
constexpr int kWhite = 170; // a lit cell is white (235), an unlit one grey (96)

// The mean grey of the middle half of a cell; -1 when the cell is too small to hold one.
int cellGrey(const QImage& area, const QRectF& cell) {
    const QRect middle =
        cell.adjusted(cell.width() / 4, cell.height() / 4, -cell.width() / 4, -cell.height() / 4)
            .toRect()
            .intersected(area.rect());
    if (middle.isEmpty())
        return -1;
    long sum = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            sum += qGray(area.pixel(x, y));
    return static_cast<int>(sum / (static_cast<long>(middle.width()) * middle.height()));
}
} // namespace

std::optional<QRect> pictureIn(const QImage& image) {
    const QImage area =
        image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    int left = area.width(), top = area.height(), right = -1, bottom = -1;
    for (int y = 0; y < area.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(area.constScanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            if (qGray(line[x]) <= kLit)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    if (right < 0)
        return std::nullopt;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

std::optional<int> readAt(const QImage& area, const QRect& picture) {
    const double width = picture.width() / double(kBits), height = picture.height() / 16.0;
    int frame = 0;
    for (int bit = 0; bit < kBits; ++bit) {
        const double x = picture.left() + bit * width;
        const int upper = cellGrey(area, QRectF(x, picture.top(), width, height));
        const int lower = cellGrey(area, QRectF(x, picture.top() + height, width, height));
        if (upper < 0 || lower < 0 || (upper > kWhite) == (lower > kWhite))
            return std::nullopt;
        if (upper > kWhite)
            frame |= 1 << bit;
    }
    return frame;
}

std::optional<int> read(const QImage& area) {
    const std::optional<QRect> picture = pictureIn(area);
    return picture ? readAt(area, *picture) : std::nullopt;
}
} // namespace FrameCode
