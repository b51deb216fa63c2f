// Window modes: the details toggle by width in twips, and overlay mode with its messages.
#include "ClickableLabel.h"
#include "PlayerWindowFixture.h"

#include <QTreeWidget>

namespace {
struct Size {
    int width, height;
    bool operator==(const Size&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Size& s) {
    return out << s.width << " x " << s.height;
}

class ModesTest : public PlayerWindowTest {
  protected:
    Size size() const { return {window->widthTwips(), window->heightTwips()}; }
    void withNotes(bool notes) {
        window->lvNotes->clear();
        if (notes)
            new QTreeWidgetItem(window->lvNotes, QStringList{QStringLiteral("10:00:00 AM")});
        window->setHeightTwips(notes ? 7500 : 5300);
    }
};

TEST_F(ModesTest, DetailsToggleByWidth) {
    const struct {
        bool notes;
        int startWidth;
        Size afterFirst;
        const char* captionFirst;
        Size afterSecond;
    } cases[] = {
        {true, 9930, {5350, 5300}, ">", {9930, 7500}},
        {false, 9930, {5350, 5300}, ">", {9930, 5300}},
        {true, 9945, {9930, 7500}, "<", {5350, 5300}}, // not exactly expanded: counts as collapsed
        {true, 5350, {9930, 7500}, "<", {5350, 5300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.startWidth << (c.notes ? " with notes" : " without notes"));
        withNotes(c.notes);
        window->setWidthTwips(c.startWidth);
        window->lblMin_Click();
        EXPECT_EQ(size(), c.afterFirst);
        EXPECT_EQ(window->lblMin->text(), QLatin1String(c.captionFirst));
        EXPECT_EQ(window->lblMin->toolTip(), *c.captionFirst == '>' ? "Show Details" : "Hide Details");
        window->lblMin_Click();
        EXPECT_EQ(size(), c.afterSecond);
    }
}

TEST_F(ModesTest, ClickOnTheLabelCollapsesAndExpands) {
    withNotes(true);
    emit window->lblMin->clicked();
    EXPECT_EQ(size(), (Size{5350, 5300}));
    emit window->lblMin->clicked();
    EXPECT_EQ(size(), (Size{9930, 7500}));
    EXPECT_EQ(window->lblMin->text(), "<");
    EXPECT_EQ(window->lblMin->toolTip(), "Hide Details");
}

TEST_F(ModesTest, OverlayMessagesAndStacking) {
    withNotes(true);
    window->show();
    window->move(120, 80);
    const QPoint where = window->pos();
    const Size before = size();

    window->picMain_Click();
    EXPECT_TRUE(window->OverlayMode);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), where);
    EXPECT_EQ(size(), before);

    // The details toggle leaves overlay mode alone.
    window->lblMin_Click();
    window->lblMin_Click();
    EXPECT_TRUE(window->OverlayMode);

    emit window->picMain->clicked();
    EXPECT_FALSE(window->OverlayMode);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), where);
    EXPECT_EQ(size(), before);

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].kind, "message");
    EXPECT_EQ(messages.shown[0].text, "Overlay mode is ON");
    EXPECT_EQ(messages.shown[0].title, "Vantrel Player Window");
    EXPECT_EQ(messages.shown[1].text, "Overlay mode is OFF");
    EXPECT_EQ(messages.shown[1].title, "Vantrel Player Window");
}
} // namespace
