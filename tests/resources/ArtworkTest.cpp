// The pictures the windows place by pixel: at their designed sizes, digits that blend into the panel,
// and labels that stay legible.
#include "Artwork.h"

#include <QImage>
#include <QSvgRenderer>
#include <gtest/gtest.h>

TEST(Artwork, DesignedSizesSeamlessDigitsAndLegibleLabels) {
    const QImage panel = Artwork::pixmap("clock_panel", {262, 72}).toImage(); // registers the resources
    auto defaultSize = [](const QString& name) { // an empty size for a picture that is missing
        return QSvgRenderer(QStringLiteral(":/quillon/%1.svg").arg(name)).defaultSize();
    };
    // clang-format off
    const std::pair<QString, QSize> pictures[] = {
        {"clock_panel", {262, 72}}, {"digit_dash", {15, 20}}, {"colon", {11, 15}}, {"logo", {94, 32}},
        {"btn_play", {69, 20}}, {"btn_pause", {69, 20}}, {"btn_rew", {61, 19}}, {"btn_ff", {61, 19}},
        {"icon_catalogue_16", {16, 16}}, {"icon_catalogue_32", {32, 32}},
        {"icon_monitor_16", {16, 16}}, {"icon_monitor_32", {32, 32}}};
    // clang-format on
    for (const auto& [name, size] : pictures)
        EXPECT_EQ(defaultSize(name), size) << name.toStdString();
    const QRgb box = panel.pixel(6, 28); // a spot of the digit box that no digit covers
    QList<QImage> digits;
    for (int d = 0; d <= 9; ++d) {
        const QString name = QStringLiteral("digit_%1").arg(d);
        EXPECT_EQ(defaultSize(name), QSize(18, 20)) << d;
        digits.append(Artwork::pixmap(name, {18, 20}).toImage());
        EXPECT_EQ(digits[d].pixel(0, 0), box) << d; // no seam around a digit
        EXPECT_EQ(digits[d].pixel(17, 19), box) << d;
        for (int e = 0; e < d; ++e)
            EXPECT_NE(digits[d], digits[e]) << d << " and " << e;
    }
    EXPECT_EQ(Artwork::pixmap("colon", {11, 15}).toImage().pixel(10, 14), box);
    // Black text on the date strip, yellow labels on dark boxes.
    EXPECT_GT(qGray(panel.pixel(120, 10)), 120);
    for (QPoint p : {QPoint(180, 30), QPoint(240, 41), QPoint(180, 55), QPoint(240, 65), QPoint(112, 58)})
        EXPECT_LT(qGray(panel.pixel(p)), 60) << p.x() << "," << p.y();
}
