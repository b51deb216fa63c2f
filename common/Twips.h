#pragma once

#include <QRect>

// Layouts are designed in twips: 15 to a logical pixel. A window's outer size is its client size
// plus 90 twips in width and 405 in height (frame and caption of the designed windows).
namespace Twips {
constexpr int PerPixel = 15;
constexpr int FrameWidth = 90;
constexpr int FrameHeight = 405;

constexpr int toPixels(int twips) {
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}
constexpr int fromPixels(int pixels) {
    return pixels * PerPixel;
}
inline QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}
} // namespace Twips
