// The clock's digit images, read as a person reads them: each shows its own digit.
#include "Artwork.h"
#include "DigitReading.h"

#include <gtest/gtest.h>

TEST(Artwork, EachDigitImageShowsItsDigit) {
    for (int digit = 0; digit <= 9; ++digit)
        for (qreal scale : {1.0, 2.0})
            EXPECT_EQ(
                readDigit(Artwork::pixmap(QStringLiteral("digit_%1").arg(digit), {18, 20}, scale).toImage()),
                digit)
                << "at scale " << scale;
}
