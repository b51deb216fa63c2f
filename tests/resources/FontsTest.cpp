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
    struct Case {
        QFont font;
        QString family;
        bool bold;
        QString text;   // a text the windows show in this font
        int widthTwips; // the box it must fit
    };
    const Case cases[] = {
        {sansFont(StandardFontPx), "Liberation Sans", false, "Double-Click to Play", 1500},
        {sansFont(LargeFontPx), "Liberation Sans", false, "Session Information", 1815},
        {sansFont(LargeFontPx, true), "Liberation Sans", true, "Sessions available on this CD", 3255},
        {monoFont(StandardFontPx), "Liberation Mono", false, "Wed, Sep 15, 2004", 3555},
    };
    for (const Case& c : cases) {
        const QFontInfo info(c.font);
        EXPECT_EQ(info.family(), c.family) << c.text.toStdString();
        EXPECT_EQ(info.bold(), c.bold) << c.text.toStdString();
        EXPECT_LE(QFontMetrics(c.font).horizontalAdvance(c.text), Twips::toPixels(c.widthTwips))
            << c.text.toStdString();
    }
}
