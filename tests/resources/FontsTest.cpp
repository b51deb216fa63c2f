// The designed fonts come from the program itself: run where fontconfig knows no font at all, the
// windows' texts still get Liberation and fit the boxes they were designed for.
#include "DesignedFonts.h"
#include "DesignedLayout.h"
#include "Twips.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

TEST(DesignedFonts, CarriedFontsDrawTheDesignedTextsWithNoFontInstalled) {
    ASSERT_FALSE(QFontDatabase::families().contains("Liberation Sans"))
        << "the test needs a desktop without it";
    ASSERT_TRUE(DesignedFonts::registerAll());

    using namespace DesignedLayout;
    // A text the windows show in each font, and the width of the box it must fit.
    const std::tuple<QFont, QString, QString, int> cases[] = {
        {sansFont(StandardFontPx), "Liberation Sans", "Double-Click to Play", 1500},
        {sansFont(LargeFontPx, true), "Liberation Sans", "Sessions available on this CD", 3255},
        {monoFont(StandardFontPx), "Liberation Mono", "Wed, Sep 15, 2004", 3555},
    };
    for (const auto& [font, family, text, widthTwips] : cases) {
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), family) << text.toStdString();
        EXPECT_EQ(info.bold(), font.bold()) << text.toStdString();
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(text), Twips::toPixels(widthTwips))
            << text.toStdString();
    }
}
