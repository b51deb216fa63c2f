#pragma once

// Reads a seven-segment digit image as a person does: by which segments are dark. Each segment is
// looked at in its middle, placed by the image's own size as on any seven-segment face.
#include <QImage>
#include <algorithm>

// The digit the image shows, or -1 when its segments make none.
inline int readDigit(const QImage& image) {
    // top, upper right, lower right, bottom, lower left, upper left, middle
    static const QPointF middles[] = {{0.5, 0.125}, {0.75, 0.31}, {0.75, 0.69}, {0.5, 0.875},
                                      {0.25, 0.69}, {0.25, 0.31}, {0.5, 0.5}};
    // The segments each digit lights, top first, as bits.
    static const int faces[] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};
    int lit = 0;
    for (int s = 0; s < 7; ++s) {
        const QPoint at(int(middles[s].x() * image.width()), int(middles[s].y() * image.height()));
        if (qGray(image.pixel(at)) < 80)
            lit |= 1 << s;
    }
    const int* face = std::find(std::begin(faces), std::end(faces), lit);
    return face == std::end(faces) ? -1 : int(face - faces);
}
