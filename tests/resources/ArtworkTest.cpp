// The pictures the windows place by pixel: present, at their designed sizes, and legible where
// labels are drawn over them.
#include "Artwork.h"

#include <QImage>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {
QImage drawn(const QString& name, QSize size) {
    return Artwork::pixmap(name, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

double luminance(QColor c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const QSize kPanel(262, 72);
} // namespace

TEST(Artwork, EveryPictureLoadsAtItsDesignedSize) {
    const std::pair<QString, QSize> pictures[] = {
        {"clock_panel", kPanel},        {"digit_dash", {15, 20}},       {"colon", {11, 15}},
        {"btn_play", {69, 20}},         {"btn_pause", {69, 20}},        {"btn_rew", {61, 19}},
        {"btn_ff", {61, 19}},           {"logo", {94, 32}},             {"icon_catalogue_16", {16, 16}},
        {"icon_catalogue_32", {32, 32}}, {"icon_monitor_16", {16, 16}}, {"icon_monitor_32", {32, 32}},
    };
    Artwork::pixmap("logo", {1, 1}); // registers the compiled-in resources
    for (const auto& [name, size] : pictures) {
        QSvgRenderer renderer(QStringLiteral(":/quillon/%1.svg").arg(name));
        ASSERT_TRUE(renderer.isValid()) << name.toStdString();
        EXPECT_EQ(renderer.defaultSize(), size) << name.toStdString();
    }
    for (int d = 0; d <= 9; ++d) {
        QSvgRenderer renderer(QStringLiteral(":/quillon/digit_%1.svg").arg(d));
        ASSERT_TRUE(renderer.isValid()) << d;
        EXPECT_EQ(renderer.defaultSize(), QSize(18, 20)) << d;
    }
}

TEST(Artwork, DigitsAndColonsBlendIntoThePanelsDigitBox) {
    // A spot of the digit box that no digit covers, and the tiles' own margins.
    const QRgb box = drawn("clock_panel", kPanel).pixel(6, 28);
    for (int d = 0; d <= 9; ++d) {
        const QImage digit = drawn(QStringLiteral("digit_%1").arg(d), {18, 20});
        EXPECT_EQ(digit.pixel(0, 0), box) << d;
        EXPECT_EQ(digit.pixel(17, 19), box) << d;
    }
    EXPECT_EQ(drawn("digit_dash", {15, 20}).pixel(0, 0), box);
    EXPECT_EQ(drawn("colon", {11, 15}).pixel(0, 0), box);
    EXPECT_EQ(drawn("colon", {11, 15}).pixel(10, 14), box);
}

TEST(Artwork, DigitsDifferAndStandOutFromTheirFace) {
    QList<QImage> digits;
    for (int d = 0; d <= 9; ++d)
        digits.append(drawn(QStringLiteral("digit_%1").arg(d), {18, 20}));
    for (int a = 0; a < digits.size(); ++a)
        for (int b = a + 1; b < digits.size(); ++b)
            EXPECT_NE(digits[a], digits[b]) << a << " and " << b;
    // The bottom segment of 0 is lit and dark against the face.
    EXPECT_GT(contrast(digits[0].pixelColor(9, 17), digits[0].pixelColor(0, 0)), 4.5);
}

TEST(Artwork, LabelsOnThePanelStayReadable) {
    const QImage panel = drawn("clock_panel", kPanel);
    const QColor lightYellow(255, 255, 128), yellow(255, 255, 0);
    // Where the date, the start and end times and the PM marker are written.
    EXPECT_GT(contrast(Qt::black, panel.pixelColor(120, 10)), 4.5);
    for (QPoint p : {QPoint(180, 30), QPoint(240, 41), QPoint(180, 55), QPoint(240, 65)})
        EXPECT_GT(contrast(lightYellow, panel.pixelColor(p)), 7.0) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(112, 58), QPoint(127, 65)})
        EXPECT_GT(contrast(yellow, panel.pixelColor(p)), 7.0) << p.x() << "," << p.y();
}

TEST(Artwork, WindowIconsCarryBothDrawnSizes) {
    for (const char* name : {"icon_catalogue", "icon_monitor"}) {
        const QIcon icon = Artwork::icon(QLatin1String(name));
        for (int size : {16, 32}) {
            const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
            EXPECT_EQ(image.size(), QSize(size, size)) << name;
            // Drawn, not an empty square: the middle row has opaque pixels.
            bool opaque = false;
            for (int x = 0; x < size; ++x)
                opaque = opaque || qAlpha(image.pixel(x, size / 2)) == 255;
            EXPECT_TRUE(opaque) << name << " " << size;
        }
    }
}
