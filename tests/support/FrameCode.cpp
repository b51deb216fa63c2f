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
    const QImage area = image.convertToFormat(QImage::Format_RGB32); // shared when it is already
    QRect box;
    for (int y = 0; y < area.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(area.constScanLine(y));
        for (int x = 0; x < area.width(); ++x)
            if (qGray(line[x]) > kLit)
                box |= QRect(x, y, 1, 1);
    }
    return box.isNull() ? std::nullopt : std::optional(box);
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
} // namespace FrameCode
