// Transport controls as sequences of user clicks (rates, box values, player calls), and the window modes.
#include "ClickableLabel.h"
#include "PlayerWindowFixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {
using P = MediaPlayer;

struct TransportCase {
    int state;          // play state at the start
    const char* clicks; // b: scan back, f: scan forward, p: play, z: pause, 0/1/2: slider, F: full screen
    const char* calls;  // the player calls, in order
    bool back, forward; // boxes at the end
    double playRate;
    int endState;
};

const TransportCase kCases[] = {
    {P::PlayPlaying, "fb", "rate=2 rate=1 rate=-2", true, false, 1.0, P::PlayScanReverse},
    {P::PlayPlaying, "bf", "rate=-2 rate=1 rate=2", false, true, 1.0, P::PlayScanForward},
    {P::PlayPlaying, "2pff", "rate=1.25 rate=1 rate=2 rate=1.25", false, false, 1.25, P::PlayPlaying},
    {P::PlayPlaying, "0bb", "rate=0.75 rate=-2 rate=0.75", false, false, 0.75, P::PlayPlaying},
    {P::PlayPlaying, "f0", "rate=2 rate=0.75", false, true, 0.75, P::PlayPlaying},
    {P::PlayPaused, "21", "rate=1.25 rate=1", false, false, 1.0, P::PlayPaused},
    {P::PlayPlaying, "zzz", "pause play pause", false, false, 1.0, P::PlayPaused},
    {P::PlayStopped, "z", "", false, false, 1.0, P::PlayStopped},
    {P::PlayPlaying, "2fz", "rate=1.25 rate=2 rate=1.25 pause", false, false, 1.25, P::PlayPaused},
    {P::PlayPlaying, "2bp", "rate=1.25 rate=-2 rate=1.25 rate=1", false, false, 1.25, P::PlayPlaying},
    {P::PlayPaused, "p", "rate=1 play", false, false, 1.0, P::PlayPlaying},
    {P::PlayPaused, "f", "rate=2", false, true, 1.0, P::PlayPaused}, // a scan does not start playback
    {P::PlayPlaying, "F", "fullScreen=true", false, false, 1.0, P::PlayPlaying},
};

// Names the case in test listings by its start state and clicks instead of its raw bytes.
void PrintTo(const TransportCase& c, std::ostream* os) { *os << "from " << c.state << " clicks " << c.clicks; }

class TransportTest : public PlayerWindowTest, public ::testing::WithParamInterface<TransportCase> {};

TEST_P(TransportTest, ClickSequence) {
    const TransportCase& c = GetParam();
    QAbstractButton* const buttons[] = {control<QAbstractButton>("chkScanBack"),
                                        control<QAbstractButton>("chkScanForward"), control<QAbstractButton>("cmbPlay"),
                                        control<QAbstractButton>("cmbPause"), control<QAbstractButton>("cmbFullScreen")};
    fake->state = c.state;
    for (const char* k = c.clicks; *k; ++k) {
        if (const int b = QStringLiteral("bfpzF").indexOf(QLatin1Char(*k)); b >= 0) {
            buttons[b]->click();
        } else {
            control<QSlider>("sldRate")->setValue(*k - '0');
            window->sldRate_Click();
        }
    }
    EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
    EXPECT_EQ(buttons[0]->isChecked(), c.back);
    EXPECT_EQ(buttons[1]->isChecked(), c.forward);
    EXPECT_DOUBLE_EQ(window->transport().PlayRate(), c.playRate);
    EXPECT_EQ(fake->state, c.endState);
    EXPECT_TRUE(messages.shown.empty() && log.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Sequences, TransportTest, ::testing::ValuesIn(kCases));

// The user's click, drag or key runs the slider, also on the value it has; a value set in code never
// does (the sequences above set values that way).
TEST_F(PlayerWindowTest, SliderActsOnTheUsersClickDragOrKey) {
    window->show();
    QSlider* slider = control<QSlider>("sldRate");
    const QPoint middle = slider->rect().center(), end(slider->width() - 1, slider->height() / 2);
    QTest::mouseClick(slider, Qt::LeftButton, {}, middle);
    QCoreApplication::processEvents(); // the slider's click runs after the value settles
    QTest::mousePress(slider, Qt::LeftButton, {}, middle);
    QTest::mouseMove(slider, end);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, end);
    QCoreApplication::processEvents();
    QTest::keyClick(slider, Qt::Key_Home);
    QCoreApplication::processEvents();
    EXPECT_EQ(fake->calls.join(' '), QLatin1String("rate=1 rate=1.25 rate=0.75"));
    EXPECT_DOUBLE_EQ(window->transport().PlayRate(), 0.75);
}

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
        QTreeWidget* notes = window->notes().notesList();
        notes->clear();
        if (c.notes)
            new QTreeWidgetItem(notes, QStringList{QStringLiteral("10:00:00 AM")});
        window->setWidthTwips(c.startWidth);
        auto* lblMin = control<ClickableLabel>("lblMin");
        emit lblMin->clicked();
        EXPECT_EQ(Size(window->widthTwips(), window->heightTwips()), c.afterFirst);
        const bool collapsed = c.afterFirst.first == 5350;
        EXPECT_EQ(lblMin->text(), collapsed ? ">" : "<");
        EXPECT_EQ(lblMin->toolTip(), collapsed ? "Show Details" : "Hide Details");
        emit lblMin->clicked();
        EXPECT_EQ(Size(window->widthTwips(), window->heightTwips()), c.afterSecond);
    }
}

TEST_F(PlayerWindowTest, OverlayHoldsOnTopWithoutMovingOrResizing) {
    window->show();
    const QRect where = window->geometry();
    for (const bool on : {true, false}) {
        emit control<ClickableLabel>("picMain")->clicked();
        EXPECT_EQ(window->overlayMode(), on);
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(window->isVisible()) << "changing the flags must not hide the window";
        EXPECT_EQ(window->geometry(), where);
        ASSERT_EQ(messages.shown.size(), on ? 1u : 2u);
        const auto& shown = messages.shown.back();
        EXPECT_EQ(shown.kind + ": " + shown.title + ": " + shown.text,
                  QStringLiteral("message: Vantrel Player Window: Overlay mode is ") + (on ? "ON" : "OFF"));
    }
}
} // namespace
