#pragma once

#include <QImage>
#include <QRect>
#include <optional>

// Reads back which frame of a fixture video (MediaFixtures::makeWmv) a drawn picture shows: the
// frame number is drawn across the picture's top as two rows of cells, the number's bits and their
// complement, so a picture caught between two frames or drawn wrongly reads as nothing.
namespace FrameCode {
constexpr int kBits = 12; // frames up to 163 s at 25 a second

// Where the picture lies in an image of the video area: the box of its lit pixels; none when dark.
std::optional<QRect> pictureIn(const QImage& area);
// The frame number the picture at `picture` shows; none when it does not read as one.
std::optional<int> readAt(const QImage& area, const QRect& picture);
// Where frame `frame` lies in the media, in seconds (ASF puts the first frame 46 ms in).
inline double seconds(int frame) {
    return frame / 25.0 + 0.046; // 25 frames a second
}
} // namespace FrameCode
