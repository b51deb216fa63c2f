// Window modes: the details toggle by width in twips, and overlay mode with its messages.
#include "ClickableLabel.h"
#include "PlayerWindowFixture.h"

namespace {
using Size = std::pair<int, int>;

TEST_F(PlayerWindowTest, DetailsToggleByWidth) {
    const struct {
        bool notes;
        int startWidth;
        Size afterFirst, afterSecond;
    } cases[] = {
        {true, 9930, {5350, 5300}, {9930, 7500}},
        {false, 9930, {5350, 5300}, {9930, 5300}},
        {true, 9945, {9930, 7500}, {5350, 5300}}, // not exactly expanded: counts as collapsed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.startWidth << (c.notes ? " with notes" : " without notes"));
        window->lvNotes->clear();
        if (c.notes)
            new QTreeWidgetItem(window->lvNotes, QStringList{QStringLiteral("10:00:00 AM")});
        window->setWidthTwips(c.startWidth);
        emit window->lblMin->clicked();
        EXPECT_EQ(Size(window->widthTwips(), window->heightTwips()), c.afterFirst);
        const bool collapsed = c.afterFirst.first == 5350;
        EXPECT_EQ(window->lblMin->text(), collapsed ? ">" : "<");
        EXPECT_EQ(window->lblMin->toolTip(), collapsed ? "Show Details" : "Hide Details");
        emit window->lblMin->clicked();
        EXPECT_EQ(Size(window->widthTwips(), window->heightTwips()), c.afterSecond);
    }
}

TEST_F(PlayerWindowTest, OverlayHoldsOnTopWithoutMovingOrResizing) {
    window->show();
    for (const bool on : {true, false}) {
        const QRect where = window->geometry();
        emit window->picMain->clicked();
        EXPECT_EQ(window->OverlayMode, on);
        ASSERT_EQ(messages.shown.size(), on ? 1u : 2u);
        const auto& shown = messages.shown.back();
        EXPECT_EQ(shown.kind + ": " + shown.title + ": " + shown.text,
                  on ? "message: Vantrel Player Window: Overlay mode is ON"
                     : "message: Vantrel Player Window: Overlay mode is OFF");
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->geometry(), where);
        window->lblMin_Click(); // the details toggle leaves overlay mode alone
        window->lblMin_Click();
        EXPECT_EQ(window->OverlayMode, on);
    }
}
} // namespace
